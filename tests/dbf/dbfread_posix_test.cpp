// Tables read back by an independent reader, Python's dbfread, when the
// system Python has it; skipped otherwise.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/dbf/dbf_writer.h"
#include "tests/dbf/dbf_test_files.h"
#include "tests/dbf/memory_grid.h"

namespace dravella::engine::testing {
namespace {

// Prints each table as a FIELDS line and one line per record. dBASE IV
// memo lengths count their 8 header bytes; dbfread reads them as text
// length and so returns 8 bytes of the block's padding too: stripped here.
constexpr const char* kReadScript = R"(
import os, sys
try:
    import dbfread
except ImportError:
    sys.exit(77)
out = sys.stdout.buffer
for path in sys.argv[1:]:
    cpg = os.path.splitext(path)[0] + '.cpg'
    encoding = 'utf-8' if os.path.exists(cpg) else None
    table = dbfread.DBF(path, encoding=encoding, char_decode_errors='strict')
    out.write(('FIELDS ' + ' '.join('%s:%s:%d:%d' % (f.name, f.type, f.length, f.decimal_count)
                                   for f in table.fields) + '\n').encode('utf-8'))
    for record in table:
        values = []
        for value in record.values():
            if isinstance(value, str):
                values.append(value.rstrip('\x00'))
            elif hasattr(value, 'isoformat'):
                values.append(value.isoformat())
            else:
                values.append(repr(value))
        out.write(('|'.join(values) + '\n').encode('utf-8'))
)";

constexpr int kNoDbfread = 77;

DbfOptions Options(DbfLevel level, CodePage page) {
  DbfOptions options;
  options.level = level;
  options.code_page = page;
  options.header_date = DbfDate{2024, 1, 2};
  return options;
}

std::string Repeat(std::string_view piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

TEST(Dbfread, ReadsBackWhatWasWritten) {
  const std::filesystem::path python = DRAVELLA_SYSTEM_PYTHON;
  if (!std::filesystem::exists(python)) GTEST_SKIP() << python << " is missing";
  ScratchFolder folder;

  const MemoryGrid kinds({
      {Text("Name"), Text("Amount"), Text("Paid"), Text("Day"), Text("Note")},
      {Text("Zoë"), Number(12.5), Bool(true), Date(43831), Error(0x07)},
      {Text("Bob"), Number(-3), Bool(false), Empty(), Text("x")},
      {Empty(), Empty(), Empty(), Empty(), Empty()},
  });
  ASSERT_TRUE(
      WriteDbfTable(kinds, folder / "kinds.dbf", Options(DbfLevel::kDbase3, CodePage::k1252)).ok());

  const std::string long_cyrillic = Repeat("ж", 300);
  const MemoryGrid utf8_memo({{Text("Text"), Text("Когда")},
                              {Text(long_cyrillic), Date(45000)},
                              {Text("короткий"), Empty()}});
  ASSERT_TRUE(WriteDbfTable(utf8_memo, folder / "utf8.dbf",
                            Options(DbfLevel::kDbase4, CodePage::kUtf8))
                  .ok());

  const std::string long_accented = Repeat("é", 400);
  const MemoryGrid ansi_memo = MemoryGrid::Column("Memo", {Text(long_accented), Number(0.5)});
  ASSERT_TRUE(WriteDbfTable(ansi_memo, folder / "memo3.dbf",
                            Options(DbfLevel::kDbase3, CodePage::k1252))
                  .ok());
  ASSERT_TRUE(WriteDbfTable(MemoryGrid::Column("Город", {Text("Жук")}), folder / "cyr.dbf",
                            Options(DbfLevel::kDbase3, CodePage::k866))
                  .ok());

  // Double-byte tables, read through their language driver byte alone.
  const struct {
    const char* file;
    CodePage page;
    const char* header;
    const char* text;
  } double_byte[] = {
      {"gbk.dbf", CodePage::k936, "单价（元）", "华东区销售报表"},
      {"sjis.dbf", CodePage::k932, "品番", "ｱｲｳ日本"},
      {"uhc.dbf", CodePage::k949, "이름", "한국어"},
      {"big5.dbf", CodePage::k950, "單價", "臺北"},
  };
  for (const auto& table : double_byte) {
    ASSERT_TRUE(WriteDbfTable(MemoryGrid::Column(table.header, {Text(table.text)}),
                              folder / table.file, Options(DbfLevel::kDbase3, table.page))
                    .ok());
  }

  const std::filesystem::path script = folder / "read.py";
  std::ofstream(script) << kReadScript;
  const std::string command = python.string() + " " + script.string() + " " +
                              (folder / "kinds.dbf").string() + " " +
                              (folder / "utf8.dbf").string() + " " +
                              (folder / "memo3.dbf").string() + " " +
                              (folder / "cyr.dbf").string() + " " + (folder / "gbk.dbf").string() +
                              " " + (folder / "sjis.dbf").string() + " " +
                              (folder / "uhc.dbf").string() + " " + (folder / "big5.dbf").string() +
                              " 2>&1";
  std::FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
  const int status = pclose(pipe);
  if (WIFEXITED(status) && WEXITSTATUS(status) == kNoDbfread) GTEST_SKIP() << "no dbfread";
  ASSERT_EQ(status, 0) << output;

  const std::string expected =
      "FIELDS NAME:C:3:0 AMOUNT:N:4:1 PAID:L:1:0 DAY:D:8:0 NOTE:C:7:0\n"
      "Zoë|12.5|True|2020-01-01|#DIV/0!\n"
      "Bob|-3.0|False|None|x\n"
      "|None|None|None|\n"
      "FIELDS TEXT:M:10:0 КОГДА:D:8:0\n" +
      long_cyrillic + "|2023-03-15\n" +
      "короткий|None\n"
      "FIELDS MEMO:M:10:0\n" +
      long_accented + "\n" +
      "0.5\n"
      "FIELDS ГОРОД:C:3:0\n"
      "Жук\n"
      "FIELDS 单价_元_:C:14:0\n"
      "华东区销售报表\n"
      "FIELDS 品番:C:7:0\n"
      "ｱｲｳ日本\n"
      "FIELDS 이름:C:6:0\n"
      "한국어\n"
      "FIELDS 單價:C:4:0\n"
      "臺北\n";
  EXPECT_EQ(output, expected);
}

}  // namespace
}  // namespace dravella::engine::testing
