#include "core/sheet_table.h"

#include <gtest/gtest.h>

namespace dravella::core {
namespace {

TEST(SheetTableTest, ReadsLikeAFixedTableOfEmptyTexts) {
  SheetTable table;
  EXPECT_EQ(table.Label(3, 7), "");
  EXPECT_EQ(table.ChosenFlag(3, 7), "");
  EXPECT_FALSE(table.IsListed(3));

  table.Store(3, 1, "Sales", true);
  table.Store(3, 2, "Costs", false);
  EXPECT_TRUE(table.IsListed(3));
  EXPECT_EQ(table.Label(3, 2), "Costs");
  EXPECT_EQ(table.ChosenFlag(3, 1), "1");
  EXPECT_EQ(table.ChosenFlag(3, 2), "");
  EXPECT_EQ(table.Label(3, 3), "");  // past what was stored
  EXPECT_FALSE(table.IsListed(4));   // other workbooks untouched

  table.Store(3, 1, "", true);  // an emptied first label: no longer listed
  EXPECT_FALSE(table.IsListed(3));
  EXPECT_EQ(table.Label(3, 2), "Costs");
}

TEST(SheetTableTest, KeepsItsBoundsAndEmptiesWhole) {
  SheetTable table;
  table.Store(0, 0, "corner", true);
  table.Store(500, 5000, "last", true);
  for (auto [w, s] : {std::pair{501, 1}, {-1, 1}, {1, 5001}, {1, -1}}) {
    table.Store(w, s, "outside", true);  // ignored
    EXPECT_EQ(table.Label(w, s), "") << w << "," << s;
  }
  EXPECT_EQ(table.Label(500, 5000), "last");
  EXPECT_TRUE(table.IsChosen(0, 0));
  table.Clear();
  EXPECT_EQ(table.Label(500, 5000), "");
  EXPECT_EQ(table.Label(0, 0), "");
}

}  // namespace
}  // namespace dravella::core
