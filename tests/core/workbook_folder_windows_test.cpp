// Hidden and system entries, extensions in any case and names outside the
// ANSI code page, as Windows has them.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "core/workbook_folder.h"
#include "engine/platform/file_system.h"
#include "tests/core/temp_folder.h"

namespace dravella::core {
namespace {

namespace fs = std::filesystem;

TEST(WorkbookFolderWindowsTest, ListsOnlyVisibleXlsFiles) {
  testing::TempFolder folder;
  const std::string root = platform::PathText(folder.path());
  struct Entry {
    std::string name;
    DWORD attributes;
    bool listed;
  };
  const Entry entries[] = {
      {"a.xls", FILE_ATTRIBUTE_NORMAL, true},
      {"B.XLS", FILE_ATTRIBUTE_NORMAL, true},
      {"Отчёт 2024.xls", FILE_ATTRIBUTE_NORMAL, true},
      {"売上.xls", FILE_ATTRIBUTE_NORMAL, true},
      {"read only.xls", FILE_ATTRIBUTE_READONLY, true},
      {"archived.xls", FILE_ATTRIBUTE_ARCHIVE, true},
      {"hidden.xls", FILE_ATTRIBUTE_HIDDEN, false},
      {"system.xls", FILE_ATTRIBUTE_SYSTEM, false},
      {"c.xlsx", FILE_ATTRIBUTE_NORMAL, false},
  };
  std::set<std::string> expected;
  for (const Entry& e : entries) {
    const fs::path path = platform::NativePath(root + "\\" + e.name);
    std::ofstream(path, std::ios::binary) << "x";
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), e.attributes)) << e.name;
    if (e.listed) expected.insert(e.name);
  }
  fs::create_directory(platform::NativePath(root + "\\folder.xls"));

  for (const std::string& typed : {root, root + "\\", root + "/"}) {
    const std::vector<std::string> names = WorkbookNamesInFolder(typed);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), expected) << typed;
  }
  for (const Entry& e : entries) {  // read-only files cannot be removed
    SetFileAttributesW(platform::NativePath(root + "\\" + e.name).c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

}  // namespace
}  // namespace dravella::core
