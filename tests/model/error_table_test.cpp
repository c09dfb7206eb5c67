#include "engine/error_codes.h"

#include <gtest/gtest.h>

#include <set>

namespace dravella::engine {
namespace {

TEST(ErrorTableTest, NumbersArePositiveUniqueAndDescribed) {
  std::set<int32_t> seen;
  int32_t previous = -1;
  for (const ErrorInfo& row : AllErrorCodes()) {
    const auto number = static_cast<int32_t>(row.code);
    EXPECT_TRUE(seen.insert(number).second) << row.name << " reuses " << number;
    EXPECT_GT(number, previous) << row.name << " is out of order";
    previous = number;
    EXPECT_FALSE(row.summary.empty()) << row.name;
    EXPECT_EQ(&ErrorCodeInfo(row.code), &row) << row.name;
    if (row.code != ErrorCode::kNone) {
      EXPECT_GT(number, 0) << row.name;
    }
  }
  EXPECT_EQ(ErrorCodeInfo(static_cast<ErrorCode>(999999)).code, ErrorCode::kNone);
}

}  // namespace
}  // namespace dravella::engine
