// dravbatch end to end with the engine, on workbooks made by the builder.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "core/path_join.h"
#include "engine/platform/file_system.h"
#include "tests/cmd/run_program.h"
#include "tests/core/temp_folder.h"
#include "tests/support/xls_builder.h"

namespace dravella {
namespace {

namespace fs = std::filesystem;
using testing::RunProgram;

void WriteBook(const std::string& path, std::initializer_list<std::string> sheets) {
  testing::WorkbookBuilder book;
  for (const std::string& name : sheets) {
    book.AddSheet(name).Text(0, 0, "Name").Text(1, 0, name);
  }
  book.WriteTo(path);
}

std::set<std::string> FilesBelow(const std::string& folder) {
  std::set<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    files.insert(fs::relative(entry.path(), folder).generic_string() +
                 (entry.is_directory() ? "/" : ""));
  }
  return files;
}

TEST(DravbatchConvertTest, FolderRunConvertsXlsFilesAndReportsAFailedOne) {
  testing::TempFolder tree;
  fs::create_directories(tree / "in");
  fs::create_directories(tree / "out");
  WriteBook(tree / "in/a.xls", {"One", "Two"});
  WriteBook(tree / "in/B.XLS", {"Sheet1"});
  WriteBook(tree / "in/c.xlsx", {"Sheet1"});
  tree.WriteFile("in/d.txt", "not a workbook");
  tree.WriteFile("in/e.xls", "<html>not a workbook either</html>");

  const auto run = RunProgram(DRAVBATCH_PATH, {tree / "in", tree / "out"});
  EXPECT_EQ(run.exit_status, 2);  // e.xls failed; the others went on
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(run.err.starts_with("dravbatch: " + (tree / "in/e.xls") + ": ")) << run.err;
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  EXPECT_EQ(FilesBelow(tree / "out"),
            (std::set<std::string>{"a/", "a/One.dbf", "a/Two.dbf", "B/", "B/Sheet1.dbf", "e/"}));
}

TEST(DravbatchConvertTest, OneWorkbookWithLevelAndCodePage) {
  testing::TempFolder tree;
  const std::string book = tree / "My Book.xls";
  WriteBook(book, {"Zoë"});
  const std::string out = tree / "out dir";
  const auto run = RunProgram(DRAVBATCH_PATH, {book, out, "/DBF4", "/cp=utf8"});
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(FilesBelow(out), (std::set<std::string>{"Zoë.dbf", "Zoë.cpg"}));
}

TEST(DravbatchConvertTest, AFolderWithoutWorkbooksIsASuccessfulRun) {
  testing::TempFolder tree;
  fs::create_directories(tree / "in");
  fs::create_directories(tree / "out");
  tree.WriteFile("in/readme.txt");
  const auto run = RunProgram(DRAVBATCH_PATH, {tree / "in", tree / "out"});
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_TRUE(fs::is_empty(tree / "out"));
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A BIFF5 workbook of each double-byte page, converted at each level into
// its own page: two worksheets give two tables named in their own script,
// and names and texts are the page's bytes as Python's codecs write them.
TEST(DravbatchConvertTest, DoubleByteWorkbooksKeepSheetNamesHeadersAndTexts) {
  struct Case {
    uint16_t codepage;
    std::string sheets[2];
    std::string header;
    std::string text;
    uint8_t driver;
  } const cases[] = {
      {932, {"東京", "大阪"}, "品番", "日本語ｱｲｳ", 0x7B},
      {936, {"北京", "上海"}, "单价", "华东区销售报表", 0x7A},
      {949, {"서울", "부산"}, "이름", "한국어", 0x79},
      {950, {"臺北", "資料"}, "單價", "臺北資料表", 0x78},
  };
  for (const Case& c : cases) {
    for (const char* level : {"/dbf2", "/dbf3", "/dbf4"}) {
      testing::TempFolder tree;
      testing::WorkbookBuilder book(testing::BiffVersion::kBiff5);
      book.SetCodepage(c.codepage);
      for (const std::string& sheet : c.sheets) {
        book.AddSheet(sheet).Text(0, 0, c.header).Text(1, 0, c.text);
      }
      book.WriteTo(tree / "book.xls");
      const std::string out = tree / "out";
      const std::string cp = "/cp=" + std::to_string(c.codepage);
      const auto run = RunProgram(DRAVBATCH_PATH, {tree / "book.xls", out, level, cp});
      ASSERT_EQ(run.exit_status, 0) << c.codepage << level << run.err;
      ASSERT_EQ(FilesBelow(out), (std::set<std::string>{c.sheets[0] + ".dbf", c.sheets[1] + ".dbf"}))
          << c.codepage << level;

      const std::string table = ReadFile(platform::NativePath(core::JoinPath(out, c.sheets[0] + ".dbf")));
      const std::string name = testing::EncodeForCodepage(c.header, c.codepage);
      const std::string text = testing::EncodeForCodepage(c.text, c.codepage);
      const bool dbase2 = std::string_view(level) == "/dbf2";
      const size_t descriptor = dbase2 ? 8 : 32;
      EXPECT_EQ(table.substr(descriptor, name.size()), name) << c.codepage << level;
      if (!dbase2) {
        EXPECT_EQ(static_cast<uint8_t>(table[29]), c.driver) << c.codepage << level;
      }
      const size_t header_size = dbase2 ? 521 : 32 + 32 + 1;
      EXPECT_EQ(table.substr(header_size + 1, text.size()), text) << c.codepage << level;
    }
  }
}

}  // namespace
}  // namespace dravella
