#include "core/utf8_text.h"

#include <cstdint>

#include "engine/utf8.h"

namespace dravella::core {
namespace {

bool IsContinuationByte(unsigned char byte) { return (byte & 0xC0) == 0x80; }

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
    const char32_t cp = engine::NextCharacter(text, pos);
    if (cp == engine::kMalformed) {
      out.append(text.substr(start, pos - start));  // broken bytes pass through as they are
    } else {
      engine::AppendUtf8(LowerCodePoint(cp), &out);
    }
  }
  return out;
}

}  // namespace dravella::core
