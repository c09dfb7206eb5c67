#include "engine/dbf/field_names.h"

#include <algorithm>

#include "engine/text_codec.h"
#include "engine/unicode_tables.h"
#include "engine/utf8.h"

namespace dravella::engine::dbf {
namespace {

// A name in the code page with the width of each of its characters, so that
// it can be cut at a character boundary.
struct EncodedName {
  std::string bytes;
  std::vector<uint8_t> widths;

  void Append(const EncodedCharacter& c) {
    bytes.append(c.bytes, c.size);
    widths.push_back(c.size);
  }

  // The longest start of the name that fits in limit bytes.
  std::string CutTo(size_t limit) const {
    size_t size = 0;
    for (uint8_t width : widths) {
      if (size + width > limit) break;
      size += width;
    }
    return bytes.substr(0, size);
  }
};

class NameMaker {
 public:
  explicit NameMaker(CodePage page) : encoder_(static_cast<uint16_t>(page)) {}

  EncodedName Clean(std::string_view header_text, size_t column_number) const {
    std::u32string kept;
    size_t pos = 0;
    while (pos < header_text.size()) kept.push_back(Kept(NextCharacter(header_text, pos)));
    if (kept.empty()) {
      const std::string field = "FIELD" + std::to_string(column_number);
      kept.assign(field.begin(), field.end());
    } else if (ClassOf(kept.front()) != CharacterClass::kLetter) {
      kept.insert(kept.begin(), U'F');
    }
    EncodedName name;
    for (char32_t c : kept) name.Append(Encode(c));
    return name;
  }

 private:
  bool Holds(char32_t c) const { return encoder_.utf8() || encoder_.CodeOf(c) != 0; }

  // The character as it stands in a name.
  char32_t Kept(char32_t c) const {
    if (c == U'_' || c == kMalformed) return U'_';
    if (ClassOf(c) == CharacterClass::kOther) return U'_';
    const char32_t upper = SimpleUpperCase(c);
    if (Holds(upper)) return upper;
    return Holds(c) ? c : U'_';
  }

  EncodedCharacter Encode(char32_t c) const {
    std::string utf8;
    AppendUtf8(c, &utf8);
    size_t pos = 0;
    return encoder_.Next(utf8, pos);
  }

  CharacterEncoder encoder_;
};

}  // namespace

std::vector<std::string> MakeFieldNames(const std::vector<std::string>& header_texts,
                                        CodePage page) {
  const NameMaker maker(page);
  std::vector<std::string> names;
  names.reserve(header_texts.size());
  auto taken = [&names](const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
  };
  for (size_t i = 0; i < header_texts.size(); ++i) {
    const EncodedName clean = maker.Clean(header_texts[i], i + 1);
    std::string name = clean.CutTo(kMaxFieldNameLength);
    if (taken(name)) {
      for (size_t k = 2;; ++k) {
        const std::string suffix = "_" + std::to_string(k);
        std::string candidate = clean.CutTo(kMaxFieldNameLength - suffix.size()) + suffix;
        if (!taken(candidate)) {
          name = std::move(candidate);
          break;
        }
      }
    }
    names.push_back(std::move(name));
  }
  return names;
}

}  // namespace dravella::engine::dbf
