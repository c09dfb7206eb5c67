// Decimal digits two at a time, from a table: what numbers and dates are
// written with.
#pragma once

#include <cstring>

namespace dravella::engine::dbf {

// The two digits of value (below 100), a leading zero included.
inline void WriteTwoDigits(char* out, unsigned value) {
  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  std::memcpy(out, kPairs + 2 * value, 2);
}

}  // namespace dravella::engine::dbf
