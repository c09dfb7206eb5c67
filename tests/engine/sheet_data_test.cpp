// SheetData's storage: lookups by position, the used range, and what a later
// record for the same cell does.
#include "engine/xls/sheet_data.h"

#include <gtest/gtest.h>

#include "tests/engine/reader_test_support.h"

namespace dravella::engine::xls {
namespace {

using reader_test::Show;

std::shared_ptr<const TextArena> NoSharedTexts() { return std::make_shared<TextArena>(); }

TEST(SheetDataTest, SheetWithoutCellsHasUsedRangeA1) {
  auto sheet = SheetDataBuilder(NoSharedTexts()).Finish();
  EXPECT_EQ(Show(sheet->used_range()), "0,0..0,0");
  EXPECT_EQ(Show(sheet->cell(0, 0)), "empty");
}

TEST(SheetDataTest, FindsCellsAddedInAnyOrderAndNothingElse) {
  SheetDataBuilder builder(NoSharedTexts());
  builder.AddNumber(7, 3, 1.5, false);
  builder.AddBoolean(2, 200, true);
  builder.AddError(7, 1, 0x07);
  builder.AddNumber(65535, 0xFFFF, -2, false);
  std::string* buffer = builder.text_buffer();
  const size_t start = buffer->size();
  buffer->append("x\ny");
  builder.AddOwnText(2, 4, start);
  auto sheet = builder.Finish();

  EXPECT_EQ(Show(sheet->used_range()), "2,1..65535,65535");
  EXPECT_EQ(Show(sheet->cell(7, 3)), "number 1.5");
  EXPECT_EQ(Show(sheet->cell(2, 200)), "boolean TRUE");
  EXPECT_EQ(Show(sheet->cell(7, 1)), "error 7");
  EXPECT_EQ(Show(sheet->cell(2, 4)), "text \"x\ny\"");
  EXPECT_EQ(Show(sheet->cell(65535, 0xFFFF)), "number -2");
  for (auto [row, column] : {std::pair{7u, 2u}, {3u, 3u}, {1u, 3u}, {70000u, 3u}, {7u, 70000u}, {0u, 0u}}) {
    EXPECT_EQ(Show(sheet->cell(row, column)), "empty") << row << "," << column;
  }
  EXPECT_EQ(sheet->stored_cell_count(), 5u);
}

TEST(SheetDataTest, LaterValueWinsButBlankNeitherErasesNorStores) {
  SheetDataBuilder builder(NoSharedTexts());
  builder.AddNumber(0, 0, 1, false);
  builder.AddNumber(0, 0, 2, false);
  builder.AddBoolean(1, 1, false);
  builder.AddEmpty(1, 1);
  builder.AddEmpty(40, 9);
  auto sheet = builder.Finish();
  EXPECT_EQ(Show(sheet->cell(0, 0)), "number 2");
  EXPECT_EQ(Show(sheet->cell(1, 1)), "boolean FALSE");
  EXPECT_EQ(Show(sheet->used_range()), "0,0..40,9") << "blanks count for the used range";
  EXPECT_EQ(sheet->stored_cell_count(), 2u);
}

TEST(SheetDataTest, DateFormatMakesDatesOnlyWithinTheCalendar) {
  SheetDataBuilder builder(NoSharedTexts());
  const double values[] = {0, 1, 60, 2958465.99999, -0.5, 2958466, 2958465.999995};
  for (uint16_t i = 0; i < std::size(values); ++i) builder.AddNumber(i, 0, values[i], true);
  builder.AddNumber(0, 1, 45000, false);
  auto sheet = builder.Finish();
  const char* expected[] = {"date 0", "date 1", "date 60", "date 2958465.9999899999", "number -0.5",
                            "number 2958466", "number 2958465.9999950002"};
  for (uint16_t i = 0; i < std::size(values); ++i) EXPECT_EQ(Show(sheet->cell(i, 0)), expected[i]);
  EXPECT_EQ(Show(sheet->cell(0, 1)), "number 45000");
}

}  // namespace
}  // namespace dravella::engine::xls
