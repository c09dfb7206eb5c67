#include "tests/support/text_encoding.h"

#include <stdexcept>

#include "engine/code_page_tables.h"
#include "engine/utf8.h"

namespace dravella::testing {
namespace {

// The engine's table for a code page; the BIFF2-4 names of Windows ANSI and
// Apple Roman mean 1252 and 10000.
const char16_t* UpperHalf(uint16_t codepage) {
  if (codepage == 32769) codepage = 1252;
  if (codepage == 32768) codepage = 10000;
  return engine::UpperHalfOfCodePage(codepage);
}

bool IsAsciiOnly(uint16_t codepage) { return codepage == 367 || codepage == 20127; }

}  // namespace

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    char32_t code = engine::NextCharacter(utf8, i);
    if (code == engine::kMalformed) throw std::invalid_argument("malformed UTF-8");
    if (code >= 0x10000) {
      code -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(code));
    }
  }
  return out;
}

bool FitsInLatin1(std::u16string_view text) {
  for (char16_t c : text) {
    if (c > 0xFF) return false;
  }
  return true;
}

bool IsKnownSingleByteCodepage(uint16_t codepage) {
  return UpperHalf(codepage) != nullptr || IsAsciiOnly(codepage);
}

std::string EncodeForCodepage(std::string_view utf8, uint16_t codepage) {
  const char16_t* upper = UpperHalf(codepage);
  if (upper == nullptr && !IsAsciiOnly(codepage)) {
    throw std::invalid_argument("no single-byte table for code page " + std::to_string(codepage));
  }
  std::string out;
  for (char16_t c : Utf8ToUtf16(utf8)) {
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    bool found = false;
    for (int b = 0; upper != nullptr && b < 128; ++b) {
      if (upper[b] == c && c != u'\uFFFD') {  // U+FFFD marks an undefined byte
        out.push_back(static_cast<char>(0x80 + b));
        found = true;
        break;
      }
    }
    if (!found) {
      throw std::invalid_argument("character U+" + std::to_string(static_cast<unsigned>(c)) +
                                  " does not exist in code page " + std::to_string(codepage));
    }
  }
  return out;
}

}  // namespace dravella::testing
