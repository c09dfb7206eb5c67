// SheetData's storage: lookups by position, the used range, and what a later
// record for the same cell does.
#include "engine/xls/sheet_data.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <vector>

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

// Cells in row order build the row index as they come; any disorder falls
// back to sorting. Either way every lookup must agree with a plain map.
TEST(SheetDataTest, RowIndexAgreesWithAPlainMapWhateverTheOrder) {
  struct Add {
    uint16_t row, column;
    double value;  // NaN: a blank
  };
  const double kBlank = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const char* name;
    std::vector<Add> adds;
  };
  const Case cases[] = {
      {"in order with empty rows between", {{2, 0, 1}, {2, 5, 2}, {6, 1, 3}, {9, 0, 4}}},
      {"blanks above and below the stored cells", {{1, 3, kBlank}, {4, 0, 1}, {4, 2, 2}, {8, 9, kBlank}}},
      {"a repeated cell in order", {{0, 0, 1}, {0, 0, 2}, {0, 1, 3}, {1, 0, 4}, {1, 0, 5}}},
      {"one row out of order", {{0, 0, 1}, {5, 0, 2}, {3, 1, 3}, {5, 0, 4}, {6, 2, 5}}},
      {"columns backwards", {{2, 4, 1}, {2, 3, 2}, {2, 1, 3}, {2, 3, 4}}},
      {"order lost after rows with gaps, then an early cell again",
       {{1, 0, 1}, {1, 2, 2}, {4, 1, 3}, {2, 0, 4}, {4, 1, 5}, {1, 2, 6}, {7, 3, 7}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SheetDataBuilder builder(NoSharedTexts());
    std::map<std::pair<uint32_t, uint32_t>, double> expected;
    for (const Add& a : c.adds) {
      if (std::isnan(a.value)) {
        builder.AddEmpty(a.row, a.column);
      } else {
        builder.AddNumber(a.row, a.column, a.value, false);
        expected[{a.row, a.column}] = a.value;
      }
    }
    auto sheet = builder.Finish();
    EXPECT_EQ(sheet->stored_cell_count(), expected.size());
    for (uint32_t row = 0; row < 12; ++row) {
      // The whole-row read, from column 1 on, agrees too.
      std::vector<CellValue> from_one(11);
      sheet->ReadRow(row, 1, from_one);
      for (uint32_t column = 0; column < 12; ++column) {
        const auto it = expected.find({row, column});
        const CellValue value = sheet->cell(row, column);
        if (column >= 1) {
          EXPECT_EQ(Show(from_one[column - 1]), Show(value)) << "row read " << row << "," << column;
        }
        if (it == expected.end()) {
          EXPECT_EQ(Show(value), "empty") << row << "," << column;
        } else {
          EXPECT_EQ(value.number, it->second) << row << "," << column;
        }
      }
    }
  }
}

}  // namespace
}  // namespace dravella::engine::xls
