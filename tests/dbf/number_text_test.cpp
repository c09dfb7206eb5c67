// Numbers as text: 15 significant digits, the shortest general text, and the
// fixed-decimals form of N fields.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>
#include <limits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/dbf/number_text.h"

namespace dravella::engine::dbf {
namespace {

std::string General(double value) {
  char text[kNumberTextCapacity];
  return std::string(text, WriteGeneralText(value, text));
}

std::string Positional(double value, int decimals) {
  char text[kNumberTextCapacity];
  return std::string(text, WritePositional(RoundTo15Digits(value), decimals, text));
}

struct GeneralCase {
  double value;
  const char* text;
};

TEST(GeneralText, ShortestFormOfTheValueRoundedTo15Digits) {
  const GeneralCase cases[] = {
      {0, "0"},
      {-0.0, "0"},
      {1, "1"},
      {-1, "-1"},
      {0.5, "0.5"},
      {0.1 + 0.2, "0.3"},
      {1.0 / 3, "0.333333333333333"},
      {2.0 / 3, "0.666666666666667"},
      {-2.0 / 3, "-0.666666666666667"},
      {100, "100"},
      {1234.5, "1234.5"},
      {0.000001, "0.000001"},
      {1e-7, "0.0000001"},
      {123456789012345678.0, "123456789012346000"},
      {999999999999999.0, "999999999999999"},
      {0.9999999999999999, "1"},                  // rounding carries into a new digit
      {1e19, "10000000000000000000"},             // 20 characters: still positional
      {-1e19, "-1E+19"},                          // 21 with the sign
      {1e20, "1E+20"},
      {1e21, "1E+21"},
      {1.5e25, "1.5E+25"},
      {-1.5e25, "-1.5E+25"},
      {1e100, "1E+100"},
      {1e-21, "1E-21"},
      {1.25e-19, "1.25E-19"},
      {0.0000000000000000012, "1.2E-18"},
      {0.000000000000000001, "0.000000000000000001"},  // exactly 20 characters
      {std::numeric_limits<double>::max(), "1.79769313486232E+308"},
      {std::numeric_limits<double>::denorm_min(), "4.94065645841247E-324"},
      {std::nan(""), "#NUM!"},
      {-std::numeric_limits<double>::infinity(), "#NUM!"},
  };
  for (const GeneralCase& c : cases) {
    EXPECT_EQ(General(c.value), c.text) << "value " << c.value;
    // A column is measured without writing its numbers: the length must agree.
    if (std::isfinite(c.value)) {
      EXPECT_EQ(GeneralTextLength(RoundTo15Digits(c.value)), std::strlen(c.text)) << "value " << c.value;
    }
  }
}

TEST(GeneralText, HalvesAtTheSixteenthDigitRoundToEven) {
  // Both are exact binary values whose 16th digit is a 5 and nothing follows.
  EXPECT_EQ(General(1234567890123455.0), "1234567890123460");
  EXPECT_EQ(General(1234567890123445.0), "1234567890123440");
  // 0.15 is stored slightly below 0.15: rounding follows the stored value.
  EXPECT_EQ(General(0.15), "0.15");
}

TEST(RoundTo15Digits, GivesTheWidthOfThePositionalForm) {
  struct Case {
    double value;
    int integer_length;
    int decimals;
  } const cases[] = {
      {0, 1, 0},           {-0.0, 1, 0},     {7, 1, 0},       {-7, 2, 0},
      {123.25, 3, 2},      {-0.5, 2, 1},     {0.001, 1, 3},   {1e18, 19, 0},
      {0.1 + 0.2, 1, 1},   {1e-21, 1, 21},   {-12.5, 3, 1},
  };
  for (const Case& c : cases) {
    const Rounded15 number = RoundTo15Digits(c.value);
    EXPECT_EQ(number.IntegerLength(), c.integer_length) << c.value;
    EXPECT_EQ(number.Decimals(), c.decimals) << c.value;
  }
}

// The exact value rounded to 15 digits by the standard library, "d.(14)e±XX":
// the reference for the shortcut the writer takes for short decimals.
std::string ReferenceRounding(double value) {
  char text[40];
  const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, 14);
  return std::string(text, end.ptr);
}

std::string ScientificOf(const Rounded15& number) {
  char text[15];
  number.Digits(text);
  std::string digits(text, number.count);
  digits.resize(15, '0');
  char exponent[16];
  std::snprintf(exponent, sizeof exponent, "e%c%02d", number.exponent < 0 ? '-' : '+',
                std::abs(number.exponent));
  return std::string(number.negative ? "-" : "") + digits[0] + "." + digits.substr(1) + exponent;
}

TEST(RoundTo15Digits, AgreesWithTheExactRoundingForDecimalsAndTheirNeighbours) {
  std::mt19937_64 random(20240314);
  std::uniform_int_distribution<int64_t> mantissa(-999999999999999, 999999999999999);
  std::uniform_int_distribution<int> shift(0, 20);
  std::uniform_int_distribution<uint64_t> bits;
  int checked = 0;
  for (int i = 0; i < 20000; ++i) {
    const double decimal = static_cast<double>(mantissa(random) / (1 + i % 1000)) /
                           std::pow(10.0, shift(random));
    double random_bits;
    const uint64_t pattern = bits(random);
    std::memcpy(&random_bits, &pattern, sizeof random_bits);
    for (const double value : {decimal, std::nextafter(decimal, 1e300),
                               std::nextafter(decimal, -1e300), random_bits}) {
      if (!std::isfinite(value) || value == 0) continue;
      ASSERT_EQ(ScientificOf(RoundTo15Digits(value)), ReferenceRounding(value)) << value;
      ++checked;
    }
  }
  EXPECT_GT(checked, 60000);
}

// Between 10^-8 and 10^15 the rounding takes a shortcut with its own
// edges: halves at the 16th digit, values next to a power of ten, and the
// ends of the range.
TEST(RoundTo15Digits, AgreesWithTheExactRoundingAcrossTheShortcutsRange) {
  std::mt19937_64 random(20261210);
  std::uniform_real_distribution<double> decade(-10, 17);
  std::uniform_int_distribution<int64_t> fifteen(100000000000000, 999999999999999);
  std::uniform_int_distribution<int> place(-10, 16);
  std::vector<double> values;
  for (int i = 0; i < 20000; ++i) {
    values.push_back(std::pow(10.0, decade(random)));
    // A half at the 16th digit, as near as a double gets to it.
    values.push_back((static_cast<double>(fifteen(random)) * 10 + 5) * std::pow(10.0, place(random) - 15));
  }
  for (int power = -10; power <= 17; ++power) values.push_back(std::pow(10.0, power));
  values.push_back(123456789012345.5);  // an exact half: ties go to the even digit
  values.push_back(123456789012344.5);
  for (const double base : values) {
    for (const double value : {base, std::nextafter(base, 0.0), std::nextafter(base, 1e300), -base}) {
      ASSERT_EQ(ScientificOf(RoundTo15Digits(value)), ReferenceRounding(value)) << value;
    }
  }
}

// The positional form spelled out digit by digit: digit i of the rounded
// number stands for 10^(exponent - i).
std::string PositionalByDigit(const Rounded15& number, int decimals) {
  char digits[15];
  number.Digits(digits);
  auto digit_at = [&](int i) { return i >= 0 && i < number.count ? digits[i] : '0'; };
  std::string text = number.negative ? "-" : "";
  if (number.exponent < 0) text += '0';
  for (int i = 0; i <= number.exponent; ++i) text += digit_at(i);
  if (decimals > 0) text += '.';
  for (int k = 1; k <= decimals; ++k) text += digit_at(number.exponent + k);
  return text;
}

TEST(PositionalText, AgreesWithTheDigitByDigitForm) {
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> decade(-12, 19);
  std::uniform_int_distribution<int> decimals(0, 20);
  for (int i = 0; i < 20000; ++i) {
    const double value = (i % 2 ? -1 : 1) * std::pow(10.0, decade(random));
    const Rounded15 number = RoundTo15Digits(i % 7 == 0 ? std::round(value) : value);
    const int places = decimals(random);
    char text[64];
    ASSERT_EQ(std::string(text, WritePositional(number, places, text)), PositionalByDigit(number, places))
        << value << " with " << places << " decimals";
  }
}

TEST(PositionalText, WritesExactlyTheGivenDecimals) {
  EXPECT_EQ(Positional(1.5, 2), "1.50");
  EXPECT_EQ(Positional(-3, 3), "-3.000");
  EXPECT_EQ(Positional(0, 2), "0.00");
  EXPECT_EQ(Positional(-0.0, 0), "0");
  EXPECT_EQ(Positional(0.001, 4), "0.0010");
  EXPECT_EQ(Positional(123456789012345678.0, 0), "123456789012346000");
  EXPECT_EQ(Positional(0.1 + 0.2, 1), "0.3");
  EXPECT_EQ(Positional(-0.25, 2), "-0.25");
}

}  // namespace
}  // namespace dravella::engine::dbf
