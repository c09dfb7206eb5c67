// dravbatch end to end with the engine, on workbooks made by the builder.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

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

}  // namespace
}  // namespace dravella
