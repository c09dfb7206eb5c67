#include "tests/support/text_encoding.h"

#include <stdexcept>

#include "engine/utf8.h"
#include "tests/support/fixture_code_pages.h"

namespace dravella::testing {
namespace {

// The BIFF2-4 names of Windows ANSI and Apple Roman mean 1252 and 10000.
uint16_t PageOf(uint16_t codepage) {
  if (codepage == 32769) return 1252;
  if (codepage == 32768) return 10000;
  return codepage;
}

bool IsAsciiOnly(uint16_t codepage) { return codepage == 367 || codepage == 20127; }

bool HasCharacters(uint16_t codepage) {
  for (const FixtureCharacter& c : FixtureCharacters()) {
    if (c.codepage == codepage) return true;
  }
  return false;
}

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

bool IsKnownByteStringCodepage(uint16_t codepage) {
  return HasCharacters(PageOf(codepage)) || IsAsciiOnly(codepage);
}

std::string EncodeForCodepage(std::string_view utf8, uint16_t codepage) {
  const uint16_t page = PageOf(codepage);
  std::string out;
  size_t pos = 0;
  while (pos < utf8.size()) {
    const char32_t c = engine::NextCharacter(utf8, pos);
    if (c == engine::kMalformed) throw std::invalid_argument("malformed UTF-8");
    if (c < 0x80) {  // ASCII is itself in every page, known or not
      out.push_back(static_cast<char>(c));
      continue;
    }
    if (!IsKnownByteStringCodepage(codepage)) {
      throw std::invalid_argument("no fixture encoding for code page " + std::to_string(codepage));
    }
    bool found = false;
    for (const FixtureCharacter& known : FixtureCharacters()) {
      if (known.codepage != page || known.code_point != c) continue;
      if (known.code > 0xFF) out.push_back(static_cast<char>(known.code >> 8));
      out.push_back(static_cast<char>(known.code & 0xFF));
      found = true;
      break;
    }
    if (!found) {
      throw std::invalid_argument("character U+" + std::to_string(static_cast<unsigned>(c)) +
                                  " is not known in code page " + std::to_string(codepage) +
                                  " (see tests/support/gen_fixture_code_pages.py)");
    }
  }
  return out;
}

}  // namespace dravella::testing
