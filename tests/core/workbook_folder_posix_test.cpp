// Hidden entries and links as POSIX systems have them.
#include "core/workbook_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/core/temp_folder.h"

namespace dravella::core {
namespace {

namespace fs = std::filesystem;

using testing::ListingOrder;

TEST(WorkbookFolderTest, ListsOnlyOrdinaryVisibleFilesEndingInXlsInListingOrder) {
  testing::TempFolder folder;
  for (const char* name : {"a.xls", "B.XLS", "c.xlsx", "d.txt", "e.xlsm", ".hidden.xls", "xls",
                           "plain xls", "f.xls.bak", "Mixed.XlS", "sp ace.xls"}) {
    folder.WriteFile(name);
  }
  fs::create_directory(folder.path() / "folder.xls");
  fs::create_symlink(folder.path() / "a.xls", folder.path() / "link.xls");
  fs::create_symlink(folder.path() / "gone.xls", folder.path() / "dangling.xls");

  std::vector<std::string> expected;
  for (const std::string& name : ListingOrder(folder.path())) {
    if (name == "a.xls" || name == "B.XLS" || name == "Mixed.XlS" || name == "sp ace.xls" ||
        name == "link.xls") {
      expected.push_back(name);
    }
  }
  ASSERT_EQ(expected.size(), 5u);
  EXPECT_EQ(WorkbookNamesInFolder(folder.path().string()), expected);
  // A trailing separator names the same folder.
  EXPECT_EQ(WorkbookNamesInFolder(folder.path().string() + "/"), expected);
}

}  // namespace
}  // namespace dravella::core
