#include "tests/support/rk_value.h"

#include <bit>
#include <cmath>

namespace dravella::testing {
namespace {

constexpr double kIntegerLimit = 536870912.0;  // 2^29: the 30-bit range is [-2^29, 2^29)

std::optional<uint32_t> IntegerForm(double value) {
  if (!(value >= -kIntegerLimit && value < kIntegerLimit) || value != std::floor(value)) return std::nullopt;
  const auto integer = static_cast<int32_t>(value);
  return (static_cast<uint32_t>(integer) << 2) | 2u;
}

std::optional<uint32_t> FloatForm(double value) {
  const auto bits = std::bit_cast<uint64_t>(value);
  if ((bits & 0x3FFFFFFFFull) != 0) return std::nullopt;
  return static_cast<uint32_t>(bits >> 32);
}

bool SameDouble(double a, double b) { return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b); }

std::optional<uint32_t> Checked(std::optional<uint32_t> rk, double value) {
  if (rk && SameDouble(DecodeRk(*rk), value)) return rk;
  return std::nullopt;
}

}  // namespace

double DecodeRk(uint32_t rk) {
  double value = 0;
  if (rk & 2u) {
    value = static_cast<double>(static_cast<int32_t>(rk) >> 2);
  } else {
    value = std::bit_cast<double>(static_cast<uint64_t>(rk & 0xFFFFFFFCu) << 32);
  }
  return (rk & 1u) ? value / 100.0 : value;
}

std::optional<uint32_t> EncodeRk(double value, RkForm form) {
  switch (form) {
    case RkForm::kInteger:
      return Checked(IntegerForm(value), value);
    case RkForm::kFloat:
      return Checked(FloatForm(value), value);
    case RkForm::kIntegerX100: {
      auto rk = IntegerForm(std::round(value * 100.0));
      return Checked(rk ? std::optional<uint32_t>(*rk | 1u) : std::nullopt, value);
    }
    case RkForm::kFloatX100: {
      auto rk = FloatForm(value * 100.0);
      return Checked(rk ? std::optional<uint32_t>(*rk | 1u) : std::nullopt, value);
    }
    case RkForm::kAuto:
      break;
  }
  for (RkForm each : {RkForm::kInteger, RkForm::kFloat, RkForm::kIntegerX100, RkForm::kFloatX100}) {
    if (auto rk = EncodeRk(value, each)) return rk;
  }
  return std::nullopt;
}

}  // namespace dravella::testing
