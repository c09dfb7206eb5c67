#include "core/workbook_listing.h"
#include "core/path_join.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "tests/core/fake_application.h"
#include "tests/core/temp_folder.h"

namespace dravella::core {
namespace {

using testing::FakeBook;
using testing::FakeFactory;
using testing::FakeWorld;
using testing::TempFolder;

void Touch(const std::string& path) { std::ofstream(path, std::ios::binary) << "x"; }

// The window's lists as plain members; what it showed is recorded.
class FakeListingWindow final : public ListingWindow {
 public:
  std::string input;
  std::vector<std::string> workbooks;
  int32_t current = 0;
  std::vector<WorksheetRow> shown;
  std::vector<std::string> failures;

  std::string SelectedInputText() override { return input; }
  int32_t CurrentWorkbook() override { return current; }
  std::string WorkbookEntryText(int32_t workbook) override {
    return workbook >= 1 && workbook <= static_cast<int32_t>(workbooks.size()) ? workbooks[workbook - 1]
                                                                              : std::string();
  }
  std::vector<WorksheetRow> ShownWorksheets() override { return shown; }
  void ShowWorksheets(const std::vector<WorksheetRow>& rows) override { shown = rows; }
  void ShowFailure(const std::string& text) override { failures.push_back(text); }
};

TEST(WorkbookListingTest, WorkbookPathOfAnInputAndAnEntry) {
  TempFolder folder;
  Touch(folder / "one.xls");
  struct Case {
    const char* what;
    std::string input;
    std::string entry;
    std::string path;
  };
  std::vector<Case> cases = {
      {"a workbook input is itself", folder / "one.xls", "other.xls", folder / "one.xls"},
      {"a folder input holds the entry", folder.path().string(), "one.xls", folder / "one.xls"},
      {"an entry no longer in the folder", folder.path().string(), "gone.xls", ""},
      {"a folder without a chosen entry", folder.path().string(), "", ""},
      {"an input that is gone", folder / "gone", "one.xls", ""},
      {"no input", "", "one.xls", ""},
  };
  if (kPathSeparator == '/') {
    // Where names are the file system's bytes, a name that is no UTF-8 is a name too.
    const std::string latin1 = folder / "B\xFC" "cher";
    std::filesystem::create_directories(latin1);
    Touch(latin1 + "/Q\xE4.xls");
    cases.push_back({"bytes that are no UTF-8 pass unchanged", latin1, "Q\xE4.xls", latin1 + "/Q\xE4.xls"});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(WorkbookPathOf(c.input, c.entry), c.path);
  }
}

TEST(WorkbookListingTest, KeepsEachWorkbooksEditsWhileTheUserMovesBetweenThem) {
  TempFolder folder;
  Touch(folder / "a.xls");
  Touch(folder / "b.xls");
  FakeWorld world;
  world.books[folder / "a.xls"] = FakeBook{{{"North"}, {"South"}}};
  world.books[folder / "b.xls"] = FakeBook{{{"Feb"}}};
  FakeFactory factory(world);
  FakeListingWindow window;
  window.input = folder.path().string();
  window.workbooks = {"a.xls", "b.xls"};
  WorksheetListing listing;

  // A fresh listing reads the names, all ticked.
  window.current = 1;
  listing.ListCurrent(window, factory, false);
  EXPECT_EQ(window.shown, (std::vector<WorksheetRow>{{"North", true}, {"South", true}}));
  EXPECT_EQ(listing.ShownWorkbook(), 1);

  // The user unticks and renames, then chooses b.xls and comes back.
  window.shown = {{"Nord", true}, {"South", false}};
  window.current = 2;
  listing.ListCurrent(window, factory, true);
  EXPECT_EQ(window.shown, (std::vector<WorksheetRow>{{"Feb", true}}));
  window.current = 1;
  const auto opens = [&] { return std::count(world.log.begin(), world.log.end(), "Open " + (folder / "a.xls")); };
  ASSERT_EQ(opens(), 1);
  listing.ListCurrent(window, factory, true);
  EXPECT_EQ(window.shown, (std::vector<WorksheetRow>{{"Nord", true}, {"South", false}}));
  EXPECT_EQ(opens(), 1) << "a workbook listed before is shown from its choices";
  EXPECT_EQ(listing.Choices().Label(1, 1), "Nord");
  EXPECT_FALSE(listing.Choices().IsChosen(1, 2));
  EXPECT_EQ(listing.Choices().Label(2, 1), "Feb");

  // A rebuilt workbook list forgets all of it; nothing is kept under a
  // workbook no longer on screen.
  listing.Forget(true);
  EXPECT_EQ(listing.ShownWorkbook(), 0);
  listing.KeepShown(window);
  EXPECT_FALSE(listing.Choices().IsListed(1));
  EXPECT_TRUE(window.failures.empty());
}

TEST(WorkbookListingTest, NothingChosenListsNothingAndAFailureIsShownWithTheRowsReadBeforeIt) {
  TempFolder folder;
  Touch(folder / "a.xls");
  FakeWorld world;
  FakeFactory factory(world);
  FakeListingWindow window;
  window.input = folder / "a.xls";
  window.workbooks = {"a.xls"};
  window.shown = {{"old", true}};
  WorksheetListing listing;

  window.current = 0;
  listing.ListCurrent(window, factory, false);
  EXPECT_EQ(window.shown, (std::vector<WorksheetRow>{{"old", true}}));
  EXPECT_TRUE(world.log.empty());

  world.books[folder / "a.xls"] = FakeBook{{{"North"}, {"South"}}, true};
  window.current = 1;
  listing.ListCurrent(window, factory, false);
  EXPECT_TRUE(window.shown.empty());
  EXPECT_EQ(window.failures, (std::vector<std::string>{"cannot open " + (folder / "a.xls"),
                                                       kOpenFailedText}));
}

}  // namespace
}  // namespace dravella::core
