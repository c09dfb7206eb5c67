// dravbatch.exe with Windows paths: drive letters, backslashes, names outside
// the ANSI code page on the command line and on disk, and names in any case.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "engine/platform/file_system.h"
#include "tests/cmd/run_program.h"
#include "tests/core/temp_folder.h"
#include "tests/support/workbook_builder.h"

namespace dravella {
namespace {

namespace fs = std::filesystem;
using platform::NativePath;
using platform::PathText;
using testing::RunProgram;

void WriteBook(const std::string& path, std::initializer_list<std::string> sheets) {
  testing::WorkbookBuilder book;
  for (const std::string& name : sheets) book.AddSheet(name).Text(0, 0, "Name").Text(1, 0, name);
  const fs::path native = NativePath(path);
  fs::create_directories(native.parent_path());
  book.WriteTo(native);
}

std::set<std::string> NamesIn(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(NativePath(folder))) {
    names.insert(PathText(entry.path().filename()));
  }
  return names;
}

class DravbatchWindowsTest : public ::testing::Test {
 protected:
  std::string At(const std::string& relative) const {
    return PathText(tree_.path()) + "\\" + relative;
  }
  testing::TempFolder tree_;
};

TEST_F(DravbatchWindowsTest, ConvertsWorkbooksNamedOutsideTheAnsiCodePage) {
  struct Case {
    std::string input;   // below the test folder, as typed
    std::string output;  // likewise
    std::string switches;
    std::set<std::string> tables;  // each beside its .cpg file
  };
  WriteBook(At("Données\\Отчёт 2024.xls"), {"Итоги", "Data"});
  WriteBook(At("Données\\売上.xls"), {"売上表"});
  const Case cases[] = {
      {"Données\\Отчёт 2024.xls", "out 1", "", {"Итоги.dbf", "Data.dbf"}},
      {"Données\\売上.xls", "out 2\\", "/name=2", {"売上_売上表.dbf"}},
      {"DONNÉES\\ОТЧЁТ 2024.XLS", "out 3", "/name=1", {"Итоги.dbf", "Data.dbf"}},
      {"Données/売上.xls", "out 4/", "", {"売上表.dbf"}},
  };
  for (const Case& c : cases) {
    // UTF-8 tables hold the Cyrillic and Japanese texts: nothing to report.
    const auto run =
        RunProgram(DRAVBATCH_PATH, {At(c.input), At(c.output), c.switches, "/cp=utf8"});
    EXPECT_EQ(run.exit_status, 0) << c.input;
    EXPECT_EQ(run.out + run.err, "") << c.input;
    std::set<std::string> files = c.tables;
    for (const std::string& table : c.tables) files.insert(table.substr(0, table.size() - 4) + ".cpg");
    EXPECT_EQ(NamesIn(At(c.output)), files) << c.input;
  }
}

TEST_F(DravbatchWindowsTest, FolderRunSkipsHiddenWorkbooksAndNamesSubfolders) {
  WriteBook(At("in\\Отчёт.xls"), {"One"});
  WriteBook(At("in\\hidden.xls"), {"Two"});
  WriteBook(At("in\\system.xls"), {"Three"});
  SetFileAttributesW(NativePath(At("in\\hidden.xls")).c_str(), FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesW(NativePath(At("in\\system.xls")).c_str(), FILE_ATTRIBUTE_SYSTEM);
  fs::create_directories(NativePath(At("out")));

  const auto run = RunProgram(DRAVBATCH_PATH, {At("in\\"), At("out")});
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(NamesIn(At("out")), (std::set<std::string>{"Отчёт"}));
  EXPECT_EQ(NamesIn(At("out\\Отчёт")), (std::set<std::string>{"One.dbf"}));
}

// With /overwrite=0 a table that exists under a name in another letter case
// is the same table, and is kept.
TEST_F(DravbatchWindowsTest, OverwriteZeroKeepsATableWhoseNameDiffersInCaseOnly) {
  WriteBook(At("book.xls"), {"Sheet1"});
  fs::create_directories(NativePath(At("out")));
  const fs::path existing = NativePath(At("out\\SHEET1.DBF"));
  std::FILE* file = platform::OpenNewFile(existing);
  ASSERT_NE(file, nullptr);
  std::fputs("keep", file);
  std::fclose(file);

  const auto run = RunProgram(DRAVBATCH_PATH, {At("book.xls"), At("out"), "/overwrite=0"});
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(fs::file_size(existing), 4u);
  EXPECT_EQ(NamesIn(At("out")), (std::set<std::string>{"SHEET1.DBF"}));
}

}  // namespace
}  // namespace dravella
