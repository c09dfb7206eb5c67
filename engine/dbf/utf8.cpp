#include "engine/dbf/utf8.h"

#include <cstdint>

namespace dravella::engine::dbf {

char32_t NextCharacter(std::string_view text, size_t& pos) {
  const auto lead = static_cast<uint8_t>(text[pos]);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  size_t length;
  char32_t value;
  char32_t smallest;  // below it the form is overlong
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, value = lead & 0x1F, smallest = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, value = lead & 0x0F, smallest = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, value = lead & 0x07, smallest = 0x10000;
  } else {
    ++pos;
    return kMalformed;
  }
  if (text.size() - pos < length) {
    ++pos;
    return kMalformed;
  }
  for (size_t i = 1; i < length; ++i) {
    const auto next = static_cast<uint8_t>(text[pos + i]);
    if ((next & 0xC0) != 0x80) {
      ++pos;
      return kMalformed;
    }
    value = (value << 6) | (next & 0x3F);
  }
  if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    ++pos;
    return kMalformed;
  }
  pos += length;
  return value;
}

}  // namespace dravella::engine::dbf
