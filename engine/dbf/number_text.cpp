#include "engine/dbf/number_text.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "engine/dbf/digit_pairs.h"

namespace dravella::engine::dbf {

namespace {

constexpr uint64_t kPowersOfTenWhole[] = {1,
                                          10,
                                          100,
                                          1000,
                                          10000,
                                          100000,
                                          1000000,
                                          10000000,
                                          100000000,
                                          1000000000,
                                          10000000000,
                                          100000000000,
                                          1000000000000,
                                          10000000000000,
                                          100000000000000,
                                          1000000000000000};

// 10^k for k up to 22: every one of them an exact double.
constexpr int kLargestExactPower = 22;
constexpr double kPowersOfTen[kLargestExactPower + 1] = {1,    1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The digits of whole (1 to 10^15 - 1): about its bit width * log10(2),
// then one more if it reaches the next power of ten.
int DigitCount(uint64_t whole) {
  const int estimate = (std::bit_width(whole) * 1233) >> 12;
  return estimate + (whole >= kPowersOfTenWhole[estimate] ? 1 : 0);
}

// Four digits of value (below 10^4), zeros in front.
void WriteFourDigits(uint32_t value, char* out) {
  WriteTwoDigits(out, value / 100);
  WriteTwoDigits(out + 2, value % 100);
}

// Sets number to whole (count digits, at most 15) with its leading digit at
// 10^exponent: the trailing zeros go, halving the step each time.
void SetDigits(uint64_t whole, int count, int exponent, Rounded15& number) {
  if (whole % 10 == 0) {
    for (const int step : {8, 4, 2, 1}) {
      if (count > step && whole % kPowersOfTenWhole[step] == 0) {
        whole /= kPowersOfTenWhole[step];
        count -= step;
      }
    }
  }
  number.significand = whole;
  number.count = count;
  number.exponent = exponent;
}

// A number with few decimals, found without formatting: when the double
// nearest to x * 10^k is a whole n below 10^15, x lies within 2^-53 of
// n / 10^k (relative), far closer than half a unit of its 15th digit, so
// n / 10^k is x rounded to 15 digits. k = 0 covers whole numbers, exactly.
bool TryShortDecimal(double magnitude, Rounded15& number) {
  constexpr int kMostDecimals = 9;
  for (int shift = 0; shift <= kMostDecimals; ++shift) {
    const double scaled = magnitude * kPowersOfTen[shift];
    if (scaled >= 1e15) return false;
    const auto whole = static_cast<uint64_t>(scaled);  // below 10^15: converts exactly when whole
    if (static_cast<double>(whole) != scaled) continue;
    const int digits = DigitCount(whole);
    SetDigits(whole, digits, digits - 1 - shift, number);
    return true;
  }
  return false;
}

// Any magnitude from 10^-8 to 10^15, rounded without formatting:
// p = magnitude * 10^k lands in [10^14, 10^15), where one unit of p is one
// unit of the 15th digit. 10^k is exact, so p is the exact product rounded
// once, off by at most half an ulp of p (an ulp there is 1/64 to 1/8). p's
// fraction is a whole number of ulps: unless it is exactly one half, it is
// at least an ulp away from one half, and the exact product rounds the same
// way p does. At an exact half the exact product is looked at; a p near
// either end of the interval (where the leading digit's place is in doubt)
// is left to the library.
bool TryFifteenDigits(double magnitude, Rounded15& number) {
  constexpr double kLow = 1e14;
  constexpr double kHigh = 1e15;
  uint64_t bits;
  std::memcpy(&bits, &magnitude, sizeof bits);
  const int binary_exponent = static_cast<int>(bits >> 52) - 1023;  // 2^e <= magnitude < 2^(e+1)
  // The decimal exponent, perhaps one off: about floor(e * log10(2)).
  int exponent = (binary_exponent * 78913) >> 18;
  int shift = 14 - exponent;
  if (shift < 0 || shift > kLargestExactPower) return false;
  double scaled = magnitude * kPowersOfTen[shift];
  if (scaled < kLow) {
    if (++shift > kLargestExactPower) return false;
    --exponent;
    scaled = magnitude * kPowersOfTen[shift];
  }
  if (scaled >= kHigh) {
    if (--shift < 0) return false;
    ++exponent;
    scaled = magnitude * kPowersOfTen[shift];
  }
  if (scaled < kLow + 1 || scaled >= kHigh - 1) return false;
  // Below 2^63: the signed conversion is one instruction, the unsigned one a branch.
  auto whole = static_cast<uint64_t>(static_cast<int64_t>(scaled));
  const double fraction = scaled - static_cast<double>(whole);
  if (fraction == 0.5) {
    // p itself ends in one half (common: its ulp is often 1/8), so the
    // exact product decides, in integers: magnitude = m * 2^e, 10^k =
    // 5^k * 2^k, and m * 5^k * 2^(e + k) is compared with whole + 1/2.
    constexpr uint64_t kFivePowers[] = {1,
                                        5,
                                        25,
                                        125,
                                        625,
                                        3125,
                                        15625,
                                        78125,
                                        390625,
                                        1953125,
                                        9765625,
                                        48828125,
                                        244140625,
                                        1220703125,
                                        6103515625,
                                        30517578125,
                                        152587890625,
                                        762939453125,
                                        3814697265625,
                                        19073486328125,
                                        95367431640625,
                                        476837158203125,
                                        2384185791015625};
    const uint64_t mantissa = (bits & ((uint64_t{1} << 52) - 1)) | (uint64_t{1} << 52);
    const int two_power = static_cast<int>(bits >> 52) - 1075 + shift;  // magnitude is normal here
    if (two_power >= 0 || two_power < -120) return false;
    const unsigned __int128 product = static_cast<unsigned __int128>(mantissa) * kFivePowers[shift];
    const int drop = -two_power;
    const unsigned __int128 rest = product & ((static_cast<unsigned __int128>(1) << drop) - 1);
    const unsigned __int128 half = static_cast<unsigned __int128>(1) << (drop - 1);
    const bool up = rest > half || (rest == half && (whole & 1) != 0);
    whole += up ? 1 : 0;
  } else {
    whole += fraction > 0.5 ? 1 : 0;
  }
  SetDigits(whole, 15, exponent, number);
  return true;
}

// Reads "d.dddddddddddddde±XX" (15 digits) into number.
void ParseScientific(const char* text, const char* end, Rounded15& number) {
  uint64_t whole = static_cast<uint64_t>(text[0] - '0');
  int count = 1;
  const char* p = text + 1;
  if (*p == '.') {
    for (++p; *p != 'e'; ++p, ++count) whole = whole * 10 + static_cast<uint64_t>(*p - '0');
  }
  ++p;  // 'e'
  const bool negative_exponent = *p++ == '-';
  int exponent = 0;
  std::from_chars(p, end, exponent);
  SetDigits(whole, count, negative_exponent ? -exponent : exponent, number);
}

}  // namespace

Rounded15 RoundTo15Digits(double value) {
  Rounded15 number;
  if (value == 0) return number;  // -0 included
  number.negative = value < 0;
  const double magnitude = std::fabs(value);
  if (magnitude < 1e15) {
    // Whole numbers, the most common, need no scaling.
    const auto whole = static_cast<uint64_t>(static_cast<int64_t>(magnitude));
    if (static_cast<double>(whole) == magnitude) {
      const int digits = DigitCount(whole);
      SetDigits(whole, digits, digits - 1, number);
      return number;
    }
  }
  if (TryFifteenDigits(magnitude, number) || TryShortDecimal(magnitude, number)) return number;

  // "d.dddddddddddddde±XX": std::to_chars rounds the exact value correctly.
  char text[40];
  const auto result =
      std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific, 14);
  ParseScientific(text, result.ptr, number);
  return number;
}

namespace {

// The significand's 16 digits, zeros in front, at text[0..16); the count
// digits that matter are the last ones.
void WriteSixteenDigits(uint64_t significand, char* text) {
  const auto high = static_cast<uint32_t>(significand / 100000000);
  const auto low = static_cast<uint32_t>(significand % 100000000);
  // Four groups that do not wait for each other.
  WriteFourDigits(high / 10000, text);
  WriteFourDigits(high % 10000, text + 4);
  WriteFourDigits(low / 10000, text + 8);
  WriteFourDigits(low % 10000, text + 12);
}

// Copies n bytes (at most 16) with two fixed-size moves that may overlap
// but never pass dst + n: a library call per field costs more than the field.
void CopyShort(char* dst, const char* src, size_t n) {
  if (n >= 8) {
    std::memcpy(dst, src, 8);
    std::memcpy(dst + n - 8, src + n - 8, 8);
  } else if (n >= 4) {
    std::memcpy(dst, src, 4);
    std::memcpy(dst + n - 4, src + n - 4, 4);
  } else {
    for (size_t i = 0; i < n; ++i) dst[i] = src[i];
  }
}

// Positional form digit by digit: digit i stands for 10^(exponent - i).
size_t WritePositionalByDigit(const Rounded15& number, const char* digits, int decimals, char* out) {
  char* p = out;
  if (number.negative) *p++ = '-';
  auto digit_at = [&number, digits](int i) { return i >= 0 && i < number.count ? digits[i] : '0'; };
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

}  // namespace

void Rounded15::Digits(char out[15]) const {
  char text[16];
  WriteSixteenDigits(significand, text);
  std::memcpy(out, text + 16 - count, static_cast<size_t>(count));
}

size_t WritePositional(const Rounded15& number, int decimals, char* out) {
  // Nearly always the text, sign and point aside, has at most 16 digits and
  // shows every digit of the number: then it is the digits of one integer,
  // the number times 10^decimals.
  const int integer_digits = number.exponent >= 0 ? number.exponent + 1 : 1;
  const int shift = decimals - (number.count - 1 - number.exponent);
  if (shift >= 0 && integer_digits + decimals <= 16) {
    char text[16];
    const uint64_t fixed = number.significand * kPowersOfTenWhole[shift];
    if (fixed < 100000000) {
      // Eight digits are enough (most numbers): half the work.
      const auto value = static_cast<uint32_t>(fixed);
      WriteFourDigits(value / 10000, text + 8);
      WriteFourDigits(value % 10000, text + 12);
      std::memset(text, '0', 8);
    } else {
      WriteSixteenDigits(fixed, text);
    }
    char* p = out;
    if (number.negative) *p++ = '-';
    CopyShort(p, text + 16 - integer_digits - decimals, static_cast<size_t>(integer_digits));
    p += integer_digits;
    if (decimals > 0) {
      *p++ = '.';
      CopyShort(p, text + 16 - decimals, static_cast<size_t>(decimals));
      p += decimals;
    }
    return static_cast<size_t>(p - out);
  }
  // The rest (more than 16 digits, or fewer decimals than the number has)
  // is rare: digit by digit.
  char digits[15];
  number.Digits(digits);
  return WritePositionalByDigit(number, digits, decimals, out);
}

namespace {

constexpr int kLongestPositional = 20;

size_t WriteWithExponent(const Rounded15& number, char* out) {
  char* p = out;
  if (number.negative) *p++ = '-';
  char digits[15];
  number.Digits(digits);
  *p++ = digits[0];
  if (number.count > 1) {
    *p++ = '.';
    std::memcpy(p, digits + 1, number.count - 1);
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

size_t GeneralTextLength(const Rounded15& number) {
  const int positional = number.PositionalLength();
  if (positional <= kLongestPositional) return static_cast<size_t>(positional);
  // Sign, d, .ddd when there are more digits, E, the exponent's sign and
  // its digits, at least two.
  const int magnitude = number.exponent < 0 ? -number.exponent : number.exponent;
  const int exponent_digits = magnitude < 100 ? 2 : 3;
  return static_cast<size_t>((number.negative ? 1 : 0) + 1 + (number.count > 1 ? number.count : 0) + 2 +
                             exponent_digits);
}

}  // namespace dravella::engine::dbf
