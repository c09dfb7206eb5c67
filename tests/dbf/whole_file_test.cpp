// Whole tables and memo files compared byte for byte, one per level, with
// the header date injected.
#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "engine/dbf/dbf_writer.h"
#include "tests/dbf/dbf_test_files.h"
#include "tests/dbf/expected_bytes.h"
#include "tests/dbf/memory_grid.h"

namespace dravella::engine::testing {
namespace {

constexpr DbfDate kSaveDay{2024, 3, 14};

DbfOptions Options(DbfLevel level, CodePage page = CodePage::k1252) {
  DbfOptions options;
  options.level = level;
  options.code_page = page;
  options.header_date = kSaveDay;
  return options;
}

// Five kinds of column and an empty row:
//   NAME C3, AMOUNT N4.1, PAID L1, DAY D8 (dBASE II: C8), NOTE C7
MemoryGrid FiveKinds() {
  return MemoryGrid({
      {Text("Name"), Text("Amount"), Text("Paid"), Text("Day"), Text("Note")},
      {Text("Ann"), Number(12.5), Bool(true), Date(43831), Error(0x07)},
      {Text("Bob"), Number(-3), Bool(false), Empty(), Text("x")},
      {Empty(), Empty(), Empty(), Empty(), Empty()},
      {Empty(), Empty(), Empty(), Date(43832), Empty()},
  });
}

void ExpectSameFile(const std::string& expected, const std::filesystem::path& path) {
  const std::string actual = ReadBytes(path);
  EXPECT_EQ(FirstDifference(expected, actual), "") << path;
}

TEST(WholeFile, DbaseIII) {
  ScratchFolder folder;
  ASSERT_TRUE(WriteDbfTable(FiveKinds(), folder / "t.dbf", Options(DbfLevel::kDbase3)).ok());
  ExpectedBytes expected;
  expected.Byte(0x03).Byte(124).Byte(3).Byte(14).U32(4).U16(32 + 5 * 32 + 1).U16(24)
      .Zeros(17).Byte(0x03).Zeros(2)
      .Descriptor("NAME", 'C', 3)
      .Descriptor("AMOUNT", 'N', 4, 1)
      .Descriptor("PAID", 'L', 1)
      .Descriptor("DAY", 'D', 8)
      .Descriptor("NOTE", 'C', 7)
      .Byte(0x0D)
      .Text(" Ann12.5T20200101#DIV/0!")
      .Text(" Bob-3.0F        x      ")
      .Text("                        ")
      .Text("         20200102       ")
      .Byte(0x1A);
  ExpectSameFile(expected.str(), folder / "t.dbf");
  EXPECT_EQ(folder.Files(), std::vector<std::string>{"t.dbf"});
}

TEST(WholeFile, AHeaderRowAloneGivesFieldsAndNoRecord) {
  ScratchFolder folder;
  ASSERT_TRUE(WriteDbfTable(MemoryGrid({{Text("Only"), Number(7)}}), folder / "t.dbf",
                            Options(DbfLevel::kDbase3))
                  .ok());
  ExpectedBytes expected;
  expected.Byte(0x03).Byte(124).Byte(3).Byte(14).U32(0).U16(32 + 2 * 32 + 1).U16(3)
      .Zeros(17).Byte(0x03).Zeros(2)
      .Descriptor("ONLY", 'C', 1)
      .Descriptor("F7", 'C', 1)
      .Byte(0x0D)
      .Byte(0x1A);
  ExpectSameFile(expected.str(), folder / "t.dbf");
}

TEST(WholeFile, FirstDifferenceNamesThePartOfTheTable) {
  ScratchFolder folder;
  ASSERT_TRUE(WriteDbfTable(FiveKinds(), folder / "t.dbf", Options(DbfLevel::kDbase3)).ok());
  ASSERT_TRUE(WriteDbfTable(FiveKinds(), folder / "u.dbf", Options(DbfLevel::kDbase2)).ok());
  const std::string iii = ReadBytes(folder / "t.dbf");
  const std::string ii = ReadBytes(folder / "u.dbf");
  auto changed = [](std::string bytes, size_t at) {
    bytes[at] = static_cast<char>(bytes[at] ^ 0x01);
    return bytes;
  };
  const size_t records = 32 + 5 * 32 + 1;  // 193
  EXPECT_EQ(FirstDifference(iii, iii), "");
  EXPECT_EQ(FirstDifference(iii, changed(iii, 29)),
            "first difference at byte 29 (header byte 29): expected 0x03, found 0x02; "
            "sizes 290 and 290");
  EXPECT_EQ(FirstDifference(iii, changed(iii, 32 + 32 + 16)).substr(0, 60),
            "first difference at byte 80 (field descriptor 2, byte 16): e");
  EXPECT_EQ(FirstDifference(iii, changed(iii, records - 1)).substr(0, 69),
            "first difference at byte 192 (the end of the field descriptors): expe");
  EXPECT_EQ(FirstDifference(iii, changed(iii, records + 2 * 24 + 5)).substr(0, 53),
            "first difference at byte 246 (record 3, byte 5): expe");
  EXPECT_EQ(FirstDifference(iii, iii.substr(0, iii.size() - 1)),
            "first difference at byte 289 (the end-of-file mark): expected 0x1A, found nothing; "
            "sizes 290 and 289");
  EXPECT_EQ(FirstDifference(ii, changed(ii, 8 + 16 + 12)).substr(0, 60),
            "first difference at byte 36 (field descriptor 2, byte 12): e");
  EXPECT_EQ(FirstDifference(ii, changed(ii, 521 + 24)).substr(0, 53),
            "first difference at byte 545 (record 2, byte 0): expe");
}

TEST(WholeFile, DbaseIVDiffersOnlyWhereTheLevelsDiffer) {
  ScratchFolder folder;
  ASSERT_TRUE(WriteDbfTable(FiveKinds(), folder / "t.dbf", Options(DbfLevel::kDbase4)).ok());
  const std::string iii_path = (folder / "iii.dbf").string();
  ASSERT_TRUE(WriteDbfTable(FiveKinds(), iii_path, Options(DbfLevel::kDbase3)).ok());
  // Without a memo both levels write the same bytes.
  ExpectSameFile(ReadBytes(iii_path), folder / "t.dbf");
}

TEST(WholeFile, DbaseII) {
  ScratchFolder folder;
  ASSERT_TRUE(WriteDbfTable(FiveKinds(), folder / "t.dbf", Options(DbfLevel::kDbase2)).ok());
  ExpectedBytes expected;
  expected.Byte(0x02).U16(4).Byte(3).Byte(14).Byte(24).U16(24)
      .Slot("NAME", 'C', 3, 1)
      .Slot("AMOUNT", 'N', 4, 4, 1)
      .Slot("PAID", 'L', 1, 8)
      .Slot("DAY", 'C', 8, 9)
      .Slot("NOTE", 'C', 7, 17)
      .Byte(0x0D)
      .Zeros(521 - 8 - 5 * 16 - 1)
      .Text(" Ann12.5T20200101#DIV/0!")
      .Text(" Bob-3.0F        x      ")
      .Text("                        ")
      .Text("         20200102       ")
      .Byte(0x1A);
  ASSERT_EQ(expected.size(), 521u + 4 * 24 + 1);
  ExpectSameFile(expected.str(), folder / "t.dbf");
}

TEST(WholeFile, DbaseIIWithAll32SlotsEndsTheHeaderWith0D) {
  for (const size_t columns : {31u, 32u}) {
    MemoryGrid::Row header;
    MemoryGrid::Row record;
    for (size_t c = 0; c < columns; ++c) {
      header.push_back(Empty());
      record.push_back(Bool(true));
    }
    ScratchFolder folder;
    ASSERT_TRUE(WriteDbfTable(MemoryGrid({header, record}), folder / "t.dbf",
                              Options(DbfLevel::kDbase2))
                    .ok());
    const std::string bytes = ReadBytes(folder / "t.dbf");
    ASSERT_EQ(bytes.size(), 521 + columns + 1 + 1);
    EXPECT_EQ(bytes[520], columns == 32 ? 0x0D : 0x00) << columns << " fields";
    if (columns == 31) {
      EXPECT_EQ(bytes[8 + 31 * 16], 0x0D);
    }
    EXPECT_EQ(bytes.substr(8 + 31 * 16 - 16, 11), std::string("FIELD31\0\0\0\0", 11));
  }
}

// A memo column: a text of exactly one block with its framing, one of two
// blocks, an empty cell, a short text and a number (every cell of a memo
// column goes to the memo file).
MemoryGrid MemoColumn(size_t one_block_text) {
  return MemoryGrid::Column("Memo", {Text(std::string(one_block_text, 'a')),
                                     Text(std::string(600, 'b')), Empty(), Text("short"),
                                     Number(5)});
}

TEST(WholeFile, DbaseIIIMemo) {
  ScratchFolder folder;
  ASSERT_TRUE(WriteDbfTable(MemoColumn(510), folder / "t.dbf", Options(DbfLevel::kDbase3)).ok());
  ExpectedBytes table;
  table.Byte(0x83).Byte(124).Byte(3).Byte(14).U32(5).U16(65).U16(11)
      .Zeros(17).Byte(0x03).Zeros(2)
      .Descriptor("MEMO", 'M', 10)
      .Byte(0x0D)
      .Text("          1")
      .Text("          2")
      .Text("           ")
      .Text("          4")
      .Text("          5")
      .Byte(0x1A);
  ExpectSameFile(table.str(), folder / "t.dbf");

  ExpectedBytes memo;
  memo.U32(6).Zeros(12).Byte(0x03).PadTo(512)
      .Repeat('a', 510).Byte(0x1A).Byte(0x1A)               // block 1, full
      .Repeat('b', 600).Byte(0x1A).Byte(0x1A).PadTo(512)    // blocks 2 and 3
      .Text("short").Byte(0x1A).Byte(0x1A).PadTo(512)       // block 4
      .Text("5").Byte(0x1A).Byte(0x1A).PadTo(512);          // block 5
  ASSERT_EQ(memo.size(), 6u * 512);
  EXPECT_EQ(ReadBytes(folder / "t.dbt"), memo.str());
}

TEST(WholeFile, DbaseIVMemo) {
  ScratchFolder folder;
  ASSERT_TRUE(WriteDbfTable(MemoColumn(504), folder / "t.dbf", Options(DbfLevel::kDbase4)).ok());
  const std::string table = ReadBytes(folder / "t.dbf");
  ASSERT_FALSE(table.empty());
  EXPECT_EQ(static_cast<uint8_t>(table[0]), 0x8B);

  const std::string mark("\xFF\xFF\x08\x00", 4);
  ExpectedBytes memo;
  memo.U32(6).Zeros(16).U16(512).PadTo(512)
      .Text(mark).U32(512).Repeat('a', 504)                 // block 1, full
      .Text(mark).U32(608).Repeat('b', 600).PadTo(512)      // blocks 2 and 3
      .Text(mark).U32(13).Text("short").PadTo(512)          // block 4
      .Text(mark).U32(9).Text("5").PadTo(512);              // block 5
  ASSERT_EQ(memo.size(), 6u * 512);
  EXPECT_EQ(ReadBytes(folder / "t.dbt"), memo.str());
  EXPECT_EQ(ParseTable(table).Value(3, 0), "         4");
}

TEST(WholeFile, CodePageByteAndUtf8CompanionFile) {
  const MemoryGrid grid = MemoryGrid::Column("Город", {Text("Жук"), Text("naïve €")});
  {
    ScratchFolder folder;
    ASSERT_TRUE(
        WriteDbfTable(grid, folder / "t.dbf", Options(DbfLevel::kDbase3, CodePage::k1251)).ok());
    const ParsedTable table = ReadTable(folder / "t.dbf");
    EXPECT_EQ(table.language_driver, 0xC9);
    EXPECT_EQ(table.fields.at(0).name, "\xC3\xCE\xD0\xCE\xC4");  // ГОРОД
    EXPECT_EQ(table.Value(0, 0), "\xC6\xF3\xEA    ");
    EXPECT_EQ(table.Value(1, 0), "na?ve \x88");
    EXPECT_EQ(folder.Files(), std::vector<std::string>{"t.dbf"});
  }
  {
    ScratchFolder folder;
    ASSERT_TRUE(
        WriteDbfTable(grid, folder / "t.dbf", Options(DbfLevel::kDbase4, CodePage::kUtf8)).ok());
    const ParsedTable table = ReadTable(folder / "t.dbf");
    EXPECT_EQ(table.language_driver, 0x00);
    EXPECT_EQ(table.fields.at(0).width, 10);  // "naïve €" takes 10 bytes
    EXPECT_EQ(table.Value(0, 0), "Жук    ");
    EXPECT_EQ(table.Value(1, 0), "naïve €");
    EXPECT_EQ(ReadBytes(folder / "t.cpg"), "UTF-8");
  }
}

TEST(WholeFile, HeaderDateIsTheDayOfTheSaveUnlessGiven) {
  ScratchFolder folder;
  DbfOptions options;
  const std::time_t before = std::time(nullptr);
  ASSERT_TRUE(WriteDbfTable(FiveKinds(), folder / "t.dbf", options).ok());
  const std::time_t after = std::time(nullptr);
  const ParsedTable table = ReadTable(folder / "t.dbf");
  auto same_day = [&table](std::time_t when) {
    const std::tm local = *std::localtime(&when);  // one thread: the shared result is safe
    return table.year == local.tm_year + 1900 && table.month == local.tm_mon + 1 &&
           table.day == local.tm_mday;
  };
  EXPECT_TRUE(same_day(before) || same_day(after))
      << table.year << "-" << table.month << "-" << table.day;
}

}  // namespace
}  // namespace dravella::engine::testing
