#include "core/utf8_text.h"

#include <cstdint>

namespace dravella::core {
namespace {

bool IsContinuationByte(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Decodes one code point at text[pos]; invalid bytes come back as themselves
// (one byte each) so that nothing is lost when the text is put together again.
char32_t Decode(std::string_view text, size_t& pos, bool& valid) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  size_t extra = 0;
  char32_t cp = 0;
  if (lead < 0x80) {
    ++pos;
    valid = true;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    extra = 1;
    cp = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2;
    cp = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3;
    cp = lead & 0x07;
  } else {
    ++pos;
    valid = false;
    return lead;
  }
  if (pos + extra >= text.size()) {  // the sequence runs past the end
    ++pos;
    valid = false;
    return lead;
  }
  for (size_t i = 1; i <= extra; ++i) {
    const auto byte = static_cast<unsigned char>(text[pos + i]);
    if (!IsContinuationByte(byte)) {
      ++pos;
      valid = false;
      return lead;
    }
    cp = (cp << 6) | (byte & 0x3F);
  }
  pos += extra + 1;
  valid = true;
  return cp;
}

void Encode(char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

char32_t LowerCodePoint(char32_t cp) {
  if (cp >= U'A' && cp <= U'Z') return cp + 0x20;
  if (cp < 0xC0) return cp;
  if (cp <= 0xDE) return cp == 0xD7 ? cp : cp + 0x20;  // Latin-1, not the multiplication sign
  if (cp == 0x130) return U'i';
  if (cp >= 0x100 && cp <= 0x137) return (cp % 2 == 0) ? cp + 1 : cp;
  if (cp >= 0x139 && cp <= 0x148) return (cp % 2 == 1) ? cp + 1 : cp;
  if (cp >= 0x14A && cp <= 0x177) return (cp % 2 == 0) ? cp + 1 : cp;
  if (cp == 0x178) return 0xFF;
  if (cp >= 0x179 && cp <= 0x17E) return (cp % 2 == 1) ? cp + 1 : cp;
  if (cp >= 0x391 && cp <= 0x3AB && cp != 0x3A2) return cp + 0x20;  // Greek
  if (cp >= 0x386 && cp <= 0x38F) {
    switch (cp) {
      case 0x386: return 0x3AC;
      case 0x388: return 0x3AD;
      case 0x389: return 0x3AE;
      case 0x38A: return 0x3AF;
      case 0x38C: return 0x3CC;
      case 0x38E: return 0x3CD;
      case 0x38F: return 0x3CE;
      default: return cp;
    }
  }
  if (cp >= 0x410 && cp <= 0x42F) return cp + 0x20;  // Cyrillic
  if (cp >= 0x400 && cp <= 0x40F) return cp + 0x50;
  if (cp >= 0x460 && cp <= 0x4FF && cp != 0x482 && !(cp >= 0x483 && cp <= 0x489)) {
    if (cp >= 0x4C1 && cp <= 0x4CE) return (cp % 2 == 1) ? cp + 1 : cp;
    if (cp == 0x4C0) return 0x4CF;
    return (cp % 2 == 0) ? cp + 1 : cp;
  }
  return cp;
}

}  // namespace

size_t Utf8Length(std::string_view text) {
  size_t count = 0;
  for (char c : text) {
    if (!IsContinuationByte(static_cast<unsigned char>(c))) ++count;
  }
  return count;
}

std::string Utf8ToLower(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t start = pos;
    bool valid = false;
    const char32_t cp = Decode(text, pos, valid);
    if (valid) {
      Encode(LowerCodePoint(cp), out);
    } else {
      out.append(text.substr(start, pos - start));
    }
  }
  return out;
}

}  // namespace dravella::core
