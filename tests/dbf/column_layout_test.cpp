// The field each column becomes, from the kinds of its cells.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "engine/dbf/table_layout.h"
#include "tests/dbf/memory_grid.h"

namespace dravella::engine::dbf {
namespace {

using testing::Bool;
using testing::Date;
using testing::Empty;
using testing::Error;
using testing::MemoryGrid;
using testing::Number;
using testing::TestCell;
using testing::Text;

struct Shape {
  char type;
  int width;
  int decimals;
  bool dates_as_digits = false;
};

Shape Plan(std::vector<TestCell> values, DbfLevel level = DbfLevel::kDbase3,
           CodePage page = CodePage::k1252, DateSystem system = DateSystem::k1900) {
  const MemoryGrid grid = MemoryGrid::Column("F", std::move(values), system);
  Result<TableLayout> layout = PlanTable(grid, level, page);
  EXPECT_TRUE(layout.ok()) << layout.status().description();
  if (!layout.ok()) return {};
  const FieldLayout& field = layout->fields.at(0);
  return {static_cast<char>(field.type), field.width, field.decimals, field.dates_as_digits};
}

void ExpectShape(const Shape& actual, const Shape& expected, const std::string& what) {
  EXPECT_EQ(actual.type, expected.type) << what;
  EXPECT_EQ(actual.width, expected.width) << what;
  EXPECT_EQ(actual.decimals, expected.decimals) << what;
  EXPECT_EQ(actual.dates_as_digits, expected.dates_as_digits) << what;
}

TEST(ColumnLayout, TypeFromTheKindsOfTheRecords) {
  const struct {
    const char* what;
    std::vector<TestCell> values;
    Shape shape;
  } cases[] = {
      {"no record", {}, {'C', 1, 0}},
      {"only empty cells", {Empty(), Empty()}, {'C', 1, 0}},
      {"booleans", {Bool(true), Empty(), Bool(false)}, {'L', 1, 0}},
      {"whole days", {Date(43831), Empty(), Date(1)}, {'D', 8, 0}},
      {"a date with a time", {Date(43831), Date(43831.75)}, {'C', 19, 0}},
      {"a time of day", {Date(0.5)}, {'C', 8, 0}},
      {"the phantom 1900-02-29", {Date(59), Date(60)}, {'C', 10, 0}},
      {"integers", {Number(1), Number(-250), Number(7)}, {'N', 4, 0}},
      {"decimals", {Number(1), Number(22.5), Number(-3.25)}, {'N', 5, 2}},
      {"a number that 15 digits round", {Number(0.1 + 0.2)}, {'N', 3, 1}},
      {"zero and minus zero", {Number(0), Number(-0.0)}, {'N', 1, 0}},
      {"19 characters", {Number(-123456789012345e3)}, {'N', 19, 0}},
      {"20 characters", {Number(1234567890123456e4)}, {'C', 20, 0}},
      {"too many decimals", {Number(1e-21)}, {'C', 5, 0}},
      {"a number that is not finite", {Number(1), Number(std::numeric_limits<double>::infinity())},
       {'C', 5, 0}},
      {"a date serial out of range is a number", {Date(-1), Number(2)}, {'N', 2, 0}},
      {"numbers and a text", {Number(12.5), Text("x")}, {'C', 4, 0}},
      {"numbers and a boolean", {Number(1), Bool(false)}, {'C', 5, 0}},
      {"dates and numbers", {Date(1), Number(1)}, {'C', 10, 0}},
      {"an error", {Error(0x07), Error(0x2A)}, {'C', 7, 0}},
      {"an unknown error code", {Error(0x99)}, {'C', 5, 0}},
      {"an empty text is empty", {Text(""), Bool(true)}, {'L', 1, 0}},
      {"254 bytes", {Text(std::string(254, 'x'))}, {'C', 254, 0}},
      {"255 bytes", {Text("short"), Text(std::string(255, 'x'))}, {'M', 10, 0}},
  };
  for (const auto& c : cases) ExpectShape(Plan(c.values), c.shape, c.what);
}

TEST(ColumnLayout, LevelsDifferInDatesMemosAndNumericWidth) {
  ExpectShape(Plan({Date(43831)}, DbfLevel::kDbase2), {'C', 8, 0, true}, "dBASE II dates");
  ExpectShape(Plan({Date(43831.5)}, DbfLevel::kDbase2), {'C', 19, 0}, "dBASE II date and time");
  ExpectShape(Plan({Text(std::string(300, 'x'))}, DbfLevel::kDbase2), {'C', 254, 0},
              "dBASE II long text");
  ExpectShape(Plan({Text(std::string(300, 'x'))}, DbfLevel::kDbase4), {'M', 10, 0},
              "dBASE IV long text");
  ExpectShape(Plan({Number(1234567890123456e4)}, DbfLevel::kDbase4), {'N', 20, 0},
              "dBASE IV 20 characters");
  ExpectShape(Plan({Number(-1234567890123456e4)}, DbfLevel::kDbase4), {'C', 21, 0},
              "dBASE IV 21 characters");
}

TEST(ColumnLayout, WidthsCountBytesOfTheCodePage) {
  std::string e_acute_127;
  for (int i = 0; i < 127; ++i) e_acute_127 += "é";
  ExpectShape(Plan({Text(e_acute_127)}, DbfLevel::kDbase3, CodePage::kUtf8), {'C', 254, 0},
              "127 x é in UTF-8");
  ExpectShape(Plan({Text(e_acute_127 + "é")}, DbfLevel::kDbase3, CodePage::kUtf8), {'M', 10, 0},
              "128 x é in UTF-8");
  ExpectShape(Plan({Text(e_acute_127 + "é")}, DbfLevel::kDbase3, CodePage::k1252), {'C', 128, 0},
              "128 x é in 1252");
  // dBASE II cuts at 254 bytes, but not inside a character: 'a' + 127 x é
  // is 255 bytes in UTF-8, cut to 253.
  ExpectShape(Plan({Text("a" + e_acute_127)}, DbfLevel::kDbase2, CodePage::kUtf8),
              {'C', 253, 0}, "dBASE II cut in UTF-8");
  // The same in a double-byte page: 127 x 单 is 254 bytes in GBK; one ASCII
  // letter more and dBASE II keeps 'a' and 126 of them.
  std::string dan_127;
  for (int i = 0; i < 127; ++i) dan_127 += "单";
  ExpectShape(Plan({Text(dan_127)}, DbfLevel::kDbase2, CodePage::k936), {'C', 254, 0},
              "127 x 单 in GBK");
  ExpectShape(Plan({Text("a" + dan_127)}, DbfLevel::kDbase2, CodePage::k936), {'C', 253, 0},
              "dBASE II cut in GBK");
  ExpectShape(Plan({Text("a" + dan_127)}, DbfLevel::kDbase3, CodePage::k936), {'M', 10, 0},
              "255 bytes in GBK");
}

TEST(ColumnLayout, DatesFollowTheGridsDateSystem) {
  ExpectShape(Plan({Date(0)}, DbfLevel::kDbase3, CodePage::k1252, DateSystem::k1904),
              {'C', 8, 0}, "1904: serial 0 is a time");
  ExpectShape(Plan({Date(2957003)}, DbfLevel::kDbase3, CodePage::k1252, DateSystem::k1904),
              {'D', 8, 0}, "1904: 9999-12-31");
  ExpectShape(Plan({Date(2958465)}, DbfLevel::kDbase3, CodePage::k1252, DateSystem::k1904),
              {'C', 11, 0}, "1904: year 10004");
}

TEST(ColumnLayout, HeaderRowGivesNamesAndDoesNotCountForTypes) {
  const MemoryGrid grid({{Text("Amount"), Number(2020), Date(43831), Bool(true), Empty()},
                         {Number(1), Number(2), Number(3), Number(4), Number(5)}});
  Result<TableLayout> layout = PlanTable(grid, DbfLevel::kDbase3, CodePage::k1252);
  ASSERT_TRUE(layout.ok());
  std::vector<std::string> names;
  for (const FieldLayout& field : layout->fields) {
    names.push_back(field.name);
    EXPECT_EQ(field.type, FieldType::kNumeric) << field.name;
  }
  EXPECT_EQ(names, (std::vector<std::string>{"AMOUNT", "F2020", "F2020_01_0", "TRUE", "FIELD5"}));
  EXPECT_EQ(layout->record_count, 1u);
  EXPECT_EQ(layout->record_length, 6u);
}

TEST(ColumnLayout, AnEmptyGridIsOneEmptyField) {
  const MemoryGrid grid({});
  Result<TableLayout> layout = PlanTable(grid, DbfLevel::kDbase3, CodePage::k1252);
  ASSERT_TRUE(layout.ok());
  ASSERT_EQ(layout->fields.size(), 1u);
  EXPECT_EQ(layout->fields[0].name, "FIELD1");
  EXPECT_EQ(layout->record_count, 0u);
}

}  // namespace
}  // namespace dravella::engine::dbf
