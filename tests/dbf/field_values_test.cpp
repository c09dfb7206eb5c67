// What each field type holds for each kind of cell.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "engine/dbf/dbf_writer.h"
#include "tests/dbf/dbf_test_files.h"
#include "tests/dbf/memory_grid.h"

namespace dravella::engine::testing {
namespace {

DbfOptions Options(DbfLevel level, CodePage page = CodePage::k1252) {
  DbfOptions options;
  options.level = level;
  options.code_page = page;
  options.header_date = DbfDate{2024, 1, 2};
  return options;
}

// The field values of a one-column table, raw.
std::vector<std::string> ColumnValues(const MemoryGrid& grid, const DbfOptions& options,
                                      ParsedField* field = nullptr) {
  ScratchFolder folder;
  const Status status = WriteDbfTable(grid, folder / "t.dbf", options);
  EXPECT_TRUE(status.ok()) << status.description();
  const ParsedTable table = ReadTable(folder / "t.dbf");
  EXPECT_EQ(table.problem, "");
  std::vector<std::string> values;
  if (!table.problem.empty() || table.fields.empty()) return values;
  if (field != nullptr) *field = table.fields[0];
  for (uint32_t r = 0; r < table.record_count; ++r) values.push_back(table.Value(r, 0));
  return values;
}

TEST(FieldValues, NumericFieldValues) {
  ParsedField field;
  const auto values = ColumnValues(
      MemoryGrid::Column("N", {Number(1.5), Number(-3), Number(0.1 + 0.2), Empty(),
                               Number(-0.0), Number(12345.25)}),
      Options(DbfLevel::kDbase3), &field);
  EXPECT_EQ(field.type, 'N');
  EXPECT_EQ(field.width, 8);
  EXPECT_EQ(field.decimals, 2);
  EXPECT_EQ(values, (std::vector<std::string>{"    1.50", "   -3.00", "    0.30", "        ",
                                              "    0.00", "12345.25"}));
}

TEST(FieldValues, CharacterFieldsHoldEveryKindAsItsText) {
  ParsedField field;
  const auto values = ColumnValues(
      MemoryGrid::Column("Mixed", {Number(1.5e25), Number(-0.0), Number(0.1 + 0.2),
                                   Date(43831.75), Date(0.5), Date(60), Date(43831),
                                   Bool(true), Bool(false), Error(0x00), Error(0x0F),
                                   Error(0x17), Error(0x1D), Error(0x24), Error(0x2A),
                                   Text("  lead"), Empty()}),
      Options(DbfLevel::kDbase3), &field);
  EXPECT_EQ(field.type, 'C');
  ASSERT_EQ(field.width, 19);
  const char* const expected[] = {"1.5E+25", "0",     "0.3",     "2020-01-01 18:00:00",
                                  "12:00:00", "1900-02-29", "2020-01-01", "TRUE",
                                  "FALSE",   "#NULL!", "#VALUE!", "#REF!",
                                  "#NAME?",  "#NUM!",  "#N/A",    "  lead", ""};
  ASSERT_EQ(values.size(), std::size(expected));
  for (size_t i = 0; i < values.size(); ++i) {
    std::string padded = expected[i];
    padded.resize(19, ' ');
    EXPECT_EQ(values[i], padded) << "record " << i + 1;
  }
}

TEST(FieldValues, DateAndLogicalFields) {
  ParsedField field;
  EXPECT_EQ(ColumnValues(MemoryGrid::Column("D", {Date(1), Empty(), Date(2958465)}),
                         Options(DbfLevel::kDbase4), &field),
            (std::vector<std::string>{"19000101", "        ", "99991231"}));
  EXPECT_EQ(field.type, 'D');
  EXPECT_EQ(ColumnValues(MemoryGrid::Column("D", {Date(1), Date(2957003)}, DateSystem::k1904),
                         Options(DbfLevel::kDbase3), &field),
            (std::vector<std::string>{"19040102", "99991231"}));
  EXPECT_EQ(ColumnValues(MemoryGrid::Column("D", {Date(61), Empty()}),
                         Options(DbfLevel::kDbase2), &field),
            (std::vector<std::string>{"19000301", "        "}));
  EXPECT_EQ(field.type, 'C');
  EXPECT_EQ(ColumnValues(MemoryGrid::Column("L", {Bool(true), Empty(), Bool(false)}),
                         Options(DbfLevel::kDbase2), &field),
            (std::vector<std::string>{"T", " ", "F"}));
  EXPECT_EQ(field.type, 'L');
}

TEST(FieldValues, DbaseIICutsLongTextsAtACharacterBoundary) {
  std::string long_text = "a";
  for (int i = 0; i < 300; ++i) long_text += "é";  // 601 bytes in UTF-8, 301 in 1252
  ParsedField field;
  const auto utf8 = ColumnValues(MemoryGrid::Column("T", {Text(long_text)}),
                                 Options(DbfLevel::kDbase2, CodePage::kUtf8), &field);
  EXPECT_EQ(field.width, 253);
  ASSERT_EQ(utf8.size(), 1u);
  EXPECT_EQ(utf8[0], long_text.substr(0, 253));
  const auto ansi = ColumnValues(MemoryGrid::Column("T", {Text(long_text)}),
                                 Options(DbfLevel::kDbase2, CodePage::k1252), &field);
  EXPECT_EQ(field.width, 254);
  ASSERT_EQ(ansi.size(), 1u);
  EXPECT_EQ(ansi[0], "a" + std::string(253, '\xE9'));

  // GBK: 单 is B5 A5; the record holds 'a' and 126 whole characters.
  std::string chinese = "a";
  for (int i = 0; i < 200; ++i) chinese += "单";
  const auto gbk = ColumnValues(MemoryGrid::Column("T", {Text(chinese)}),
                                Options(DbfLevel::kDbase2, CodePage::k936), &field);
  EXPECT_EQ(field.width, 253);
  ASSERT_EQ(gbk.size(), 1u);
  std::string expected = "a";
  for (int i = 0; i < 126; ++i) expected += "\xB5\xA5";
  EXPECT_EQ(gbk[0], expected);
}

TEST(FieldValues, MemoTextsAreInTheTablesCodePage) {
  const std::string text = std::string(300, 'x') + "Ω€";
  for (const CodePage page : {CodePage::k1253, CodePage::kUtf8}) {
    for (const DbfLevel level : {DbfLevel::kDbase3, DbfLevel::kDbase4}) {
      ScratchFolder folder;
      ASSERT_TRUE(WriteDbfTable(MemoryGrid::Column("T", {Text(text)}), folder / "t.dbf",
                                Options(level, page))
                      .ok());
      const std::string memo = ReadBytes(folder / "t.dbt");
      const std::string expected =
          page == CodePage::kUtf8 ? text : std::string(300, 'x') + "\xD9\x80";
      EXPECT_EQ(MemoText(memo, level == DbfLevel::kDbase4, 1), expected);
    }
  }
}

// dBASE III ends a memo text with 0x1A, so one inside the text would cut it
// short for every reader; dBASE IV texts carry their length and keep it.
TEST(FieldValues, EndOfTextByteInsideAMemoText) {
  const std::string text = "before\x1A" + std::string(300, 'x') + "\x1A\x1A after";
  std::string dbase3 = text;
  std::replace(dbase3.begin(), dbase3.end(), '\x1A', '?');
  for (const DbfLevel level : {DbfLevel::kDbase3, DbfLevel::kDbase4}) {
    ScratchFolder folder;
    ASSERT_TRUE(
        WriteDbfTable(MemoryGrid::Column("T", {Text(text)}), folder / "t.dbf", Options(level)).ok());
    const bool dbase4 = level == DbfLevel::kDbase4;
    EXPECT_EQ(MemoText(ReadBytes(folder / "t.dbt"), dbase4, 1), dbase4 ? text : dbase3);
  }
}

// The count of characters written as '?' because the code page cannot hold
// them, in C fields and memo texts alike; field names do not count.
TEST(FieldValues, SaveCountsCharactersTheCodePageCannotHold) {
  const struct {
    const char* what;
    MemoryGrid grid;
    CodePage page;
    int64_t replaced;
  } cases[] = {
      {"Cyrillic in 1252", MemoryGrid::Column("Имя", {Text("Жук"), Text("ok")}), CodePage::k1252, 3},
      {"Cyrillic in 1251", MemoryGrid::Column("T", {Text("Жук")}), CodePage::k1251, 0},
      {"anything in UTF-8", MemoryGrid::Column("T", {Text("Жук 中文")}), CodePage::kUtf8, 0},
      {"a memo text", MemoryGrid::Column("T", {Text(std::string(300, 'x') + "中文")}),
       CodePage::k1252, 2},
      {"a question mark itself", MemoryGrid::Column("T", {Text("why?")}), CodePage::k1252, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchFolder folder;
    SaveStatistics statistics;
    statistics.replaced_characters = -1;
    ASSERT_TRUE(
        WriteDbfTable(c.grid, folder / "t.dbf", Options(DbfLevel::kDbase3, c.page), &statistics).ok());
    EXPECT_EQ(statistics.replaced_characters, c.replaced);
  }
}

// A column's texts that are not ASCII are measured and encoded once per
// distinct text and then remembered; a grid that hands out different texts
// from one buffer (same address, other bytes) must still get each its own.
TEST(FieldValues, RepeatedTextsAndAReusedBufferKeepTheirOwnBytes) {
  static const std::vector<std::string> kTexts = {"Zoë", "Jürgen Müller", "Zoë Ørsted", "Жук", "Łódź", "Zoe"};
  auto text_of = [](uint32_t row) { return kTexts[(row * 7 + row / 3) % kTexts.size()]; };
  struct ReusedBuffer final : CellGrid {
    std::function<std::string(uint32_t)> text_of;
    mutable std::string buffer;  // every text is handed out from here
    uint32_t rows() const override { return 200; }
    uint32_t columns() const override { return 1; }
    DateSystem date_system() const override { return DateSystem::k1900; }
    CellValue at(uint32_t row, uint32_t) const override {
      buffer = row == 0 ? "Name" : text_of(row);
      return {CellKind::kText, 0, buffer};
    }
  } reused;
  reused.text_of = text_of;
  std::vector<MemoryGrid::Row> rows{{Text("Name")}};
  for (uint32_t r = 1; r < 200; ++r) rows.push_back({Text(text_of(r))});
  const MemoryGrid held(std::move(rows));

  for (const CodePage page : {CodePage::k1252, CodePage::k1250, CodePage::kUtf8}) {
    SCOPED_TRACE(static_cast<int>(page));
    ScratchFolder folder;
    SaveStatistics from_held, from_reused;
    ASSERT_TRUE(WriteDbfTable(held, folder / "held.dbf", Options(DbfLevel::kDbase3, page), &from_held).ok());
    ASSERT_TRUE(WriteDbfTable(reused, folder / "reused.dbf", Options(DbfLevel::kDbase3, page), &from_reused).ok());
    EXPECT_EQ(FirstDifference(ReadBytes(folder / "held.dbf"), ReadBytes(folder / "reused.dbf")), "");
    EXPECT_EQ(from_held.replaced_characters, from_reused.replaced_characters);
    // Each record against the text encoded on its own.
    const ParsedTable table = ReadTable(folder / "held.dbf");
    for (uint32_t r = 1; r < 200; ++r) {
      const MemoryGrid one({{Text("Name")}, {Text(text_of(r))}});
      ScratchFolder alone;
      ASSERT_TRUE(WriteDbfTable(one, alone / "one.dbf", Options(DbfLevel::kDbase3, page)).ok());
      std::string expected = ReadTable(alone / "one.dbf").Value(0, 0);
      expected.resize(table.fields[0].width, ' ');
      ASSERT_EQ(table.Value(r - 1, 0), expected) << "record " << r;
    }
  }
}

}  // namespace
}  // namespace dravella::engine::testing
