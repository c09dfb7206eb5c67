// RK encodings: each form holds exactly the values it can and no others.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>

#include "tests/support/rk_value.h"

namespace dravella::testing {
namespace {

TEST(RkValue, EachFormEncodesExactlyWhatItCanHold) {
  struct Case {
    double value;
    RkForm form;
    std::optional<uint32_t> rk;
  };
  const Case cases[] = {
      {1234, RkForm::kInteger, (1234u << 2) | 2},
      {-1, RkForm::kInteger, 0xFFFFFFFEu},
      {536870911, RkForm::kInteger, (536870911u << 2) | 2},  // the largest 30-bit integer
      {536870912, RkForm::kInteger, std::nullopt},
      {-536870912, RkForm::kInteger, 0x80000002u},
      {1.5, RkForm::kInteger, std::nullopt},
      {12.34, RkForm::kIntegerX100, (1234u << 2) | 3},
      {0.07, RkForm::kIntegerX100, (7u << 2) | 3},  // 0.07 * 100 is 7.000000000000001 in doubles
      {1.5, RkForm::kFloat, 0x3FF80000u},
      {0.1, RkForm::kFloat, std::nullopt},
      {1.5 / 100, RkForm::kFloatX100, 0x3FF80001u},
      {3, RkForm::kAuto, (3u << 2) | 2},
      {0.25, RkForm::kAuto, 0x3FD00000u},
      {0.01, RkForm::kAuto, (1u << 2) | 3},
      {-0.0, RkForm::kAuto, 0x80000000u},  // the sign survives in the float form
      {0.1, RkForm::kAuto, (10u << 2) | 3},
      {0.123, RkForm::kAuto, std::nullopt},
      {1e300, RkForm::kAuto, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.value << " form " << static_cast<int>(c.form));
    const std::optional<uint32_t> rk = EncodeRk(c.value, c.form);
    EXPECT_EQ(rk, c.rk);
    if (rk) {
      EXPECT_EQ(std::bit_cast<uint64_t>(DecodeRk(*rk)), std::bit_cast<uint64_t>(c.value));
    }
  }
}

}  // namespace
}  // namespace dravella::testing
