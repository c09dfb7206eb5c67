// Little-endian stores for the writer's binary headers.
#pragma once

#include <cstdint>

namespace dravella::engine::dbf {

inline void StoreLittleEndian16(uint8_t* out, uint32_t value) {
  out[0] = static_cast<uint8_t>(value);
  out[1] = static_cast<uint8_t>(value >> 8);
}

inline void StoreLittleEndian32(uint8_t* out, uint32_t value) {
  out[0] = static_cast<uint8_t>(value);
  out[1] = static_cast<uint8_t>(value >> 8);
  out[2] = static_cast<uint8_t>(value >> 16);
  out[3] = static_cast<uint8_t>(value >> 24);
}

}  // namespace dravella::engine::dbf
