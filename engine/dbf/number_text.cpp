#include "engine/dbf/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>

namespace dravella::engine::dbf {

int Rounded15::IntegerLength() const {
  return (negative ? 1 : 0) + (exponent >= 0 ? exponent + 1 : 1);
}

int Rounded15::Decimals() const {
  const int after_point = count - 1 - exponent;
  return after_point > 0 ? after_point : 0;
}

int Rounded15::PositionalLength() const {
  const int decimals = Decimals();
  return IntegerLength() + (decimals > 0 ? decimals + 1 : 0);
}

namespace {

void DropTrailingZeros(Rounded15& number) {
  while (number.count > 1 && number.digits[number.count - 1] == '0') --number.count;
}

// A number with few decimals, found without formatting: when the double
// nearest to x * 10^k is a whole n below 10^15, x lies within 2^-53 of
// n / 10^k (relative), far closer than half a unit of its 15th digit, so
// n / 10^k is x rounded to 15 digits. k = 0 covers whole numbers, exactly.
bool TryShortDecimal(double magnitude, Rounded15& number) {
  static constexpr double kPowersOfTen[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
  for (int shift = 0; shift < static_cast<int>(std::size(kPowersOfTen)); ++shift) {
    const double scaled = magnitude * kPowersOfTen[shift];
    if (scaled >= 1e15) return false;
    auto whole = static_cast<uint64_t>(scaled);  // below 10^15: converts exactly when whole
    if (static_cast<double>(whole) != scaled) continue;
    char reversed[15];
    int count = 0;
    do {
      reversed[count++] = static_cast<char>('0' + whole % 10);
      whole /= 10;
    } while (whole != 0);
    for (int i = 0; i < count; ++i) number.digits[i] = reversed[count - 1 - i];
    number.count = count;
    number.exponent = count - 1 - shift;
    DropTrailingZeros(number);
    return true;
  }
  return false;
}

// Reads "d[.ddd]e±XX" into number.
void ParseScientific(const char* text, const char* end, Rounded15& number) {
  const char* p = text;
  int count = 0;
  number.digits[count++] = *p++;
  if (*p == '.') {
    for (++p; *p != 'e'; ++p) number.digits[count++] = *p;
  }
  number.count = count;
  ++p;  // 'e'
  const bool negative_exponent = *p++ == '-';
  int exponent = 0;
  std::from_chars(p, end, exponent);
  number.exponent = negative_exponent ? -exponent : exponent;
  DropTrailingZeros(number);
}

}  // namespace

Rounded15 RoundTo15Digits(double value) {
  Rounded15 number;
  if (value == 0) return number;  // -0 included
  number.negative = value < 0;
  const double magnitude = std::fabs(value);
  if (TryShortDecimal(magnitude, number)) return number;

  // "d.dddddddddddddde±XX": std::to_chars rounds the exact value correctly.
  char text[40];
  const auto result =
      std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific, 14);
  ParseScientific(text, result.ptr, number);
  return number;
}

size_t WritePositional(const Rounded15& number, int decimals, char* out) {
  char* p = out;
  if (number.negative) *p++ = '-';
  // Digit i stands for 10^(exponent - i).
  auto digit_at = [&number](int i) { return i >= 0 && i < number.count ? number.digits[i] : '0'; };
  if (number.exponent < 0) {
    *p++ = '0';
  } else {
    for (int i = 0; i <= number.exponent; ++i) *p++ = digit_at(i);
  }
  if (decimals > 0) {
    *p++ = '.';
    for (int k = 1; k <= decimals; ++k) *p++ = digit_at(number.exponent + k);
  }
  return static_cast<size_t>(p - out);
}

namespace {

constexpr int kLongestPositional = 20;

size_t WriteWithExponent(const Rounded15& number, char* out) {
  char* p = out;
  if (number.negative) *p++ = '-';
  *p++ = number.digits[0];
  if (number.count > 1) {
    *p++ = '.';
    std::memcpy(p, number.digits + 1, number.count - 1);
    p += number.count - 1;
  }
  *p++ = 'E';
  *p++ = number.exponent < 0 ? '-' : '+';
  const int magnitude = number.exponent < 0 ? -number.exponent : number.exponent;
  if (magnitude < 10) *p++ = '0';  // at least two exponent digits
  p = std::to_chars(p, out + kNumberTextCapacity, magnitude).ptr;
  return static_cast<size_t>(p - out);
}

}  // namespace

size_t WriteGeneralText(double value, char* out) {
  if (!std::isfinite(value)) {
    std::memcpy(out, "#NUM!", 5);
    return 5;
  }
  return WriteGeneralText(RoundTo15Digits(value), out);
}

size_t WriteGeneralText(const Rounded15& number, char* out) {
  if (number.PositionalLength() <= kLongestPositional) {
    return WritePositional(number, number.Decimals(), out);
  }
  return WriteWithExponent(number, out);
}

}  // namespace dravella::engine::dbf
