#include "core/output_naming.h"

#include <chrono>
#include <cmath>
#include <random>

#include "core/utf8_text.h"

namespace dravella::core {
namespace {

// Characters no file name may hold: the colon, the double quote and "<>|",
// and also the separators "/" and "\" and control characters, so that no
// worksheet name or edited label can make a file outside its folder.
bool IsForbidden(unsigned char c) {
  switch (c) {
    case ':':
    case '"':
    case '<':
    case '>':
    case '|':
    case '/':
    case '\\':
      return true;
    default:
      return c < 0x20;
  }
}

class ClockRandom final : public RandomSource {
 public:
  void ReseedFromClock() override {
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    engine_.seed(static_cast<std::mt19937_64::result_type>(ticks));
  }
  double NextUnit() override { return std::generate_canonical<double, 53>(engine_); }

 private:
  std::mt19937_64 engine_{0};
};

// The longest name FileExtension scans; its position counter holds no more.
constexpr size_t kLongestScannedName = 32767;

}  // namespace

RandomSource& ClockSeededRandom() {
  static ClockRandom random;
  return random;
}

std::string RemoveForbiddenCharacters(std::string_view name) {
  std::string cleaned;
  cleaned.reserve(name.size());
  for (char c : name) {
    if (!IsForbidden(static_cast<unsigned char>(c))) cleaned += c;
  }
  return cleaned;
}

std::string OutputNaming::RandomNumberText(int upper) {
  random_.ReseedFromClock();
  double x = random_.NextUnit();
  if (!(x >= 0.0 && x < 1.0)) x = 0.0;  // a generator out of contract still gives a number
  return std::to_string(static_cast<int64_t>(std::floor(x * upper)) + 1);
}

std::string OutputNaming::DbfBaseName(int mode, std::string_view book_name,
                                      std::string_view worksheet_name) {
  std::string candidate;
  switch (mode) {
    case kNameSheet:
      if (Utf8ToLower(worksheet_name) == Utf8ToLower(book_name)) {
        candidate.append(book_name).append("_").append(worksheet_name);
      } else {
        candidate = worksheet_name;
      }
      break;
    case kNameBookSheet:
      candidate.append(book_name).append("_").append(worksheet_name);
      break;
    case kNameNumbered: {
      ++SheetCounter;
      const std::string number = std::to_string(SheetCounter);
      candidate = number == book_name ? std::string(book_name) + "_" + number : number;
      break;
    }
    default:  // the plain worksheet name
      candidate = worksheet_name;
      break;
  }

  std::string cleaned = RemoveForbiddenCharacters(candidate);
  // A name that begins with a blank is dropped whole, not just its blank.
  if (!cleaned.empty() && cleaned.front() == ' ') cleaned.clear();
  if (cleaned.empty()) cleaned = RandomNumberText(1000000);
  if (cleaned != candidate && Utf8Length(cleaned) < 2) cleaned += RandomNumberText(100);
  return cleaned;
}

std::string FileExtension(std::string_view file_name) {
  if (file_name.size() > kLongestScannedName) return {};
  const auto last = file_name.find_last_of(". ");
  const std::string_view extension =
      last == std::string_view::npos ? file_name : file_name.substr(last + 1);
  return Utf8ToLower(extension);
}

std::string RemoveBlanksAndDots(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (char c : text) {
    if (c != ' ' && c != '.') result += c;
  }
  return result;
}

}  // namespace dravella::core
