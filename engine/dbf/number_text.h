// How numbers become text: rounded to 15 significant digits, then written
// either the shortest way (the general text of C fields) or with a fixed
// count of decimals (N fields).
#pragma once

#include <cstddef>
#include <cstdint>

namespace dravella::engine::dbf {

// A finite number rounded to 15 significant digits:
// value = (negative ? -1 : 1) * d1.d2d3...dn * 10^exponent, where
// d1d2...dn is the significand without its trailing zeros. The digits stay
// a number until written: measuring a value needs only count and exponent.
struct Rounded15 {
  bool negative = false;
  uint64_t significand = 0;  // below 10^15; 0 for zero
  int count = 1;             // digits of significand (1 for zero)
  int exponent = 0;

  // The count digits of the significand as characters.
  void Digits(char out[15]) const;

  // Characters before the point in positional form, the sign included.
  int IntegerLength() const { return (negative ? 1 : 0) + (exponent >= 0 ? exponent + 1 : 1); }
  // Digits after the point in positional form (0: no point).
  int Decimals() const { return count - 1 - exponent > 0 ? count - 1 - exponent : 0; }
  // IntegerLength plus the point and the decimals.
  int PositionalLength() const {
    const int decimals = Decimals();
    return IntegerLength() + (decimals > 0 ? decimals + 1 : 0);
  }
};

// Rounds the exact binary value to 15 significant digits, halves to even
// (as printf's %.14e does); -0 becomes 0. value must be finite.
Rounded15 RoundTo15Digits(double value);

// Room enough for any general text or N-field value.
inline constexpr size_t kNumberTextCapacity = 32;

// Positional form with exactly `decimals` digits after the point (no point
// when 0). out must hold IntegerLength() + decimals + 1 characters.
size_t WritePositional(const Rounded15& number, int decimals, char* out);

// The general text: positional without trailing zeros, or, when that would
// need more than 20 characters, d.dddE+XX. A number that is not finite is
// written "#NUM!", as the spreadsheet shows it. out holds
// kNumberTextCapacity characters.
size_t WriteGeneralText(double value, char* out);
size_t WriteGeneralText(const Rounded15& number, char* out);
// The length of that text, without writing it.
size_t GeneralTextLength(const Rounded15& number);

}  // namespace dravella::engine::dbf
