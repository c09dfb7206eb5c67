#include "engine/cell_address.h"

#include <gtest/gtest.h>

namespace dravella::engine {
namespace {

TEST(CellAddressTest, WritesAbsoluteAddresses) {
  const std::pair<CellPosition, std::string> cases[] = {
      {{0, 0}, "$A$1"},     {{4, 2}, "$C$5"},         {{0, 25}, "$Z$1"},
      {{0, 26}, "$AA$1"},   {{65535, 255}, "$IV$65536"}, {{0, 701}, "$ZZ$1"},
      {{0, 702}, "$AAA$1"}, {{1048575, 16383}, "$XFD$1048576"},
  };
  for (const auto& [cell, text] : cases) {
    EXPECT_EQ(AbsoluteAddress(cell), text);
    const auto parsed = ParseAddress(text);
    ASSERT_TRUE(parsed) << text;
    EXPECT_EQ(parsed->row, cell.row) << text;
    EXPECT_EQ(parsed->column, cell.column) << text;
  }
}

TEST(CellAddressTest, ReadsRelativeFormsAndRejectsNonsense) {
  EXPECT_EQ(ParseAddress("c5")->column, 2u);
  EXPECT_EQ(ParseAddress("C$5")->row, 4u);
  EXPECT_EQ(ParseAddress("$C5")->row, 4u);
  for (const char* bad : {"", "$", "5", "C", "C0", "$C$", "C5x", "C-5", "XFE1", "A1048577",
                          "ABCD1", "A12345678", "$$A1", "A 1"}) {
    EXPECT_FALSE(ParseAddress(bad)) << bad;
  }
}

}  // namespace
}  // namespace dravella::engine
