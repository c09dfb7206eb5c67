// RK numbers: the 32-bit packed numbers of RK and MULRK records.
//
//   bit 0   the value is 100 times too large
//   bit 1   bits 2-31 are a signed integer; otherwise they are the top 30
//           bits of an IEEE double whose other bits are zero
#pragma once

#include <bit>
#include <cstdint>

namespace dravella::engine::xls {

inline double DecodeRk(uint32_t rk) {
  double value = (rk & 0x02) ? static_cast<double>(static_cast<int32_t>(rk) >> 2)
                             : std::bit_cast<double>(static_cast<uint64_t>(rk & 0xFFFFFFFCu) << 32);
  if (rk & 0x01) value /= 100;
  return value;
}

}  // namespace dravella::engine::xls
