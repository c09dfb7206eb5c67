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

TEST(WorkbookFolderTest, StopsAtFiveHundredInListingOrder) {
  testing::TempFolder folder;
  for (int i = 0; i < 600; ++i) folder.WriteFile("book" + std::to_string(i) + ".xls");
  folder.WriteFile("notes.txt");

  std::vector<std::string> expected;
  for (const std::string& name : ListingOrder(folder.path())) {
    if (name != "notes.txt" && expected.size() < kMaxListedWorkbooks) expected.push_back(name);
  }
  const std::vector<std::string> names = WorkbookNamesInFolder(folder.path().string());
  EXPECT_EQ(names.size(), 500u);
  EXPECT_EQ(names, expected);
}

TEST(WorkbookFolderTest, NamesNothingForWhatIsNoReadableFolder) {
  testing::TempFolder folder;
  const std::string file = folder.WriteFile("book.xls");
  for (const std::string& path : {folder / "missing", file, std::string(), folder / "*.xls"}) {
    EXPECT_TRUE(WorkbookNamesInFolder(path).empty()) << path;
  }
}

TEST(WorkbookFolderTest, FileNameIsTheLastNameOfThePath) {
  EXPECT_EQ(FileNameOf("/data/Sales 2024.xls"), "Sales 2024.xls");
  EXPECT_EQ(FileNameOf("Book1.xls"), "Book1.xls");
}

}  // namespace
}  // namespace dravella::core
