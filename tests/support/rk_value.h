// RK values: the 32-bit number encoding of RK and MULRK cells.
//
//   bit 0    fX100: divide the value by 100
//   bit 1    fInt: bits 2-31 are a signed 30-bit integer; else they are the
//            top 30 bits of an IEEE double whose low 34 bits are zero
#pragma once

#include <cstdint>
#include <optional>

namespace dravella::testing {

enum class RkForm : uint8_t {
  kAuto,         // the first of the forms below that holds the value exactly
  kInteger,      // 1234
  kFloat,        // 1.5, 0.25, 1e100: doubles with a short mantissa
  kIntegerX100,  // 12.34 stored as 1234
  kFloatX100,    // a short-mantissa double divided by 100
};

// The RK encoding of `value` in that form, or nothing when the form cannot
// hold the value exactly (decoding must give back the same double, sign of
// zero included).
std::optional<uint32_t> EncodeRk(double value, RkForm form = RkForm::kAuto);

// The value an RK encoding stands for.
double DecodeRk(uint32_t rk);

}  // namespace dravella::testing
