#include "core/workbook_export.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "tests/core/fake_application.h"
#include "tests/core/naming_and_shell_doubles.h"
#include "tests/core/fake_convert_window.h"
#include "tests/core/temp_folder.h"

namespace dravella::core {
namespace {

using testing::FixedRandom;

namespace fs = std::filesystem;
using testing::FakeBook;
using testing::FakeSheet;
using Log = std::vector<std::string>;
using Files = std::set<std::string>;

FakeSheet Data(const std::string& name) { return {name, 3, 2}; }
FakeSheet Empty(const std::string& name) { return {name, 1, 1, true}; }

class WorkbookExportTest : public ::testing::Test {
 protected:
  // A folder input holding workbook files (any bytes: the fake reads the
  // script); each is listed in the workbook list, in the order added.
  void AddBook(const std::string& file, std::vector<FakeSheet> sheets) {
    world_.books[tree_.WriteFile("in/" + file)] = FakeBook{std::move(sheets)};
    window_.workbooks.push_back({file, true});
  }
  FakeBook& Book(const std::string& file) { return world_.books.at(tree_ / ("in/" + file)); }
  // Lists worksheet choices as the sheet browser stores them: {label, ticked}.
  void List(int32_t workbook, const std::vector<std::pair<std::string, bool>>& sheets) {
    int32_t s = 1;
    for (const auto& [label, ticked] : sheets) window_.choices.Store(workbook, s++, label, ticked);
  }
  ConvertResult Convert(int32_t workbook, const std::string& out = "out") {
    fs::create_directories(tree_ / out);
    return ConvertWorkbook(window_, context_, workbook, tree_ / out);
  }
  Files FilesIn(const std::string& folder) const {
    Files files;
    for (const auto& entry : fs::directory_iterator(tree_ / folder)) {
      files.insert(entry.path().filename().string());
    }
    return files;
  }
  size_t Count(const std::string& call) const {
    return static_cast<size_t>(std::count(world_.log.begin(), world_.log.end(), call));
  }

  void SetUp() override { window_.selected_input = tree_ / "in"; }

  testing::TempFolder tree_;
  testing::FakeWorld world_;
  testing::FakeFactory factory_{world_};
  FixedRandom random_;
  OutputNaming naming_{random_};
  ExportContext context_{factory_, naming_};
  testing::FakeConvertWindow window_;
};

TEST_F(WorkbookExportTest, UnlistedWorkbookConvertsEveryWorksheetInCallOrder) {
  AddBook("Sales.xls", {Data("Orders"), Data("Regions")});
  window_.file_format = 8;
  EXPECT_EQ(Convert(1), kWorkbookConverted);
  EXPECT_EQ(FilesIn("out"), (Files{"Orders.dbf", "Regions.dbf"}));
  const std::string book = tree_ / "in/Sales.xls";
  const Log expected_start = {"Create Excel.Application", "Open " + book, "DisplayAlerts off",
                              "Worksheets.Count", "Name 1", "Activate 1"};
  ASSERT_GE(world_.log.size(), expected_start.size());
  EXPECT_EQ(Log(world_.log.begin(), world_.log.begin() + expected_start.size()), expected_start);
  EXPECT_EQ(Log(world_.log.end() - 3, world_.log.end()),
            (Log{"SaveAs " + (tree_ / "out/Regions.dbf") + " 8", "Close", "Quit"}));
  EXPECT_EQ(window_.events, (Log{"max 2", "progress 1", "progress 2", "progress 0"}));
  EXPECT_TRUE(window_.boxes.empty());
}

// A table never replaces one the same conversion wrote: the later one takes
// _2, _3 ... (names compared without letter case). A table left by an
// earlier conversion is replaced as before, and an empty worksheet, which
// writes nothing, takes no name.
TEST_F(WorkbookExportTest, NamesTakenTwiceGetSuffixesInsteadOfReplacingATable) {
  struct Case {
    const char* what;
    std::vector<FakeSheet> sheets;
    std::vector<std::pair<std::string, bool>> listed;  // empty: not listed
    std::map<std::string, std::string> expected;        // file -> the sheet that wrote it
  };
  const Case cases[] = {
      {"names that clean alike", {Data("a<b"), Data("ab"), Data("a|b"), Data("AB")}, {},
       {{"ab.dbf", "a<b"}, {"ab_2.dbf", "ab"}, {"ab_3.dbf", "a|b"}, {"AB_4.dbf", "AB"}}},
      {"edited labels", {Data("s1"), Data("s2"), Data("s3")}, {{"x", true}, {"X", true}, {"x_2", true}},
       {{"x.dbf", "s1"}, {"X_2.dbf", "s2"}, {"x_2_2.dbf", "s3"}}},
      {"an empty worksheet", {Empty("ab"), Data("ab")}, {}, {{"ab.dbf", "ab"}}},
      {"a table of an earlier run", {Data("old")}, {}, {{"old.dbf", "old"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string out = std::string("out-") + std::to_string(&c - cases);
    tree_.WriteFile(out + "/old.dbf", "written by an earlier run");
    world_ = testing::FakeWorld{};
    window_ = testing::FakeConvertWindow{};
    window_.selected_input = tree_ / "in";
    window_.choices.Clear();
    AddBook("Book.xls", c.sheets);
    if (!c.listed.empty()) List(1, c.listed);
    ASSERT_EQ(Convert(1, out), kWorkbookConverted);
    std::map<std::string, std::string> written;
    for (const std::string& file : FilesIn(out)) {
      std::ifstream in(tree_ / (out + "/" + file));
      std::getline(in, written[file]);
    }
    std::map<std::string, std::string> expected = c.expected;
    expected.emplace("old.dbf", "written by an earlier run");
    EXPECT_EQ(written, expected);
  }
}

TEST_F(WorkbookExportTest, WorksheetChoicesDecideWhatIsConvertedAndUnderWhichName) {
  struct Case {
    const char* what;
    std::vector<std::pair<std::string, bool>> listed;  // empty: never listed
    int mode;
    Files expected;
  };
  const Case cases[] = {
      {"never listed: own names", {}, kNameSheet, {"Alpha.dbf", "Beta.dbf", "Gamma.dbf"}},
      {"unticked and renamed",
       {{"Alpha", true}, {"Beta", false}, {"Renamed", true}},
       kNameSheet,
       {"Alpha.dbf", "Renamed.dbf"}},
      {"worksheet added after listing has no flag",
       {{"Alpha", true}, {"Beta", true}},
       kNameSheet,
       {"Alpha.dbf", "Beta.dbf"}},
      {"first label emptied: counts as unlisted, ticks ignored",
       {{"", true}, {"Beta", false}, {"Other", false}},
       kNameSheet,
       {"Alpha.dbf", "Beta.dbf", "Gamma.dbf"}},
      // The random source gives 500001 for an empty name.
      {"later label emptied goes to the naming", {{"Alpha", false}, {"", true}}, kNameSheet,
       {"500001.dbf"}},
      {"book and sheet", {{"Alpha", true}, {"X.y", true}}, kNameBookSheet,
       {"My.Book_Alpha.dbf", "My.Book_X.y.dbf"}},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    window_.workbooks.clear();
    window_.choices.Clear();
    AddBook("My.Book.xls", {Data("Alpha"), Data("Beta"), Data("Gamma")});
    if (!c.listed.empty()) List(1, c.listed);
    window_.naming_mode = c.mode;
    const std::string out = "out" + std::to_string(n++);
    EXPECT_EQ(Convert(1, out), kWorkbookConverted);
    EXPECT_EQ(FilesIn(out), c.expected);
    // Skipped worksheets move the progress bar too.
    EXPECT_EQ(window_.EventsStartingWith("progress "),
              (Log{"progress 1", "progress 2", "progress 3", "progress 0"}));
    window_.events.clear();
  }
}

TEST_F(WorkbookExportTest, ChoicesAreReadForTheWorkbookAtItsListPosition) {
  AddBook("a.xls", {Data("A1"), Data("A2")});
  AddBook("b.xls", {Data("B1"), Data("B2")});
  List(2, {{"B1", false}, {"Second", true}});
  EXPECT_EQ(Convert(1, "a"), kWorkbookConverted);
  EXPECT_EQ(Convert(2, "b"), kWorkbookConverted);
  EXPECT_EQ(FilesIn("a"), (Files{"A1.dbf", "A2.dbf"}));
  EXPECT_EQ(FilesIn("b"), (Files{"Second.dbf"}));
  // A listed worksheet's name is not asked of the application.
  EXPECT_EQ(Count("Name 2"), 1u);
}

TEST_F(WorkbookExportTest, WorksheetsPastTheTableAreConvertedUnderTheirOwnNames) {
  std::vector<FakeSheet> sheets(SheetTable::kLastWorksheet + 1, Empty("blank"));
  sheets.front() = Data("First");
  sheets.back() = Data("Beyond");
  AddBook("big.xls", sheets);
  window_.choices.Store(1, 1, "Kept", true);  // the rest stays unticked
  EXPECT_EQ(Convert(1), kWorkbookConverted);
  EXPECT_EQ(FilesIn("out"), (Files{"Kept.dbf", "Beyond.dbf"}));
  EXPECT_EQ(window_.progress_max, SheetTable::kLastWorksheet + 1);
}

TEST_F(WorkbookExportTest, EmptyWorksheetsGiveNoFileButUseUpTheirNumber) {
  FakeSheet only_b2{"OnlyB2", 1, 1, true, 2, 2};  // one cell that is not A1
  AddBook("Book.xls", {Data("a"), Empty("b"), Data("c"), only_b2, Data("e")});
  window_.naming_mode = kNameNumbered;
  EXPECT_EQ(Convert(1), kWorkbookConverted);
  EXPECT_EQ(FilesIn("out"), (Files{"1.dbf", "3.dbf", "5.dbf"}));
  EXPECT_EQ(naming_.SheetCounter, 0);
}

TEST_F(WorkbookExportTest, UntickedWorksheetsUseUpNoNumber) {
  AddBook("Book.xls", {Data("a"), Data("b"), Data("c")});
  List(1, {{"a", true}, {"b", false}, {"c", true}});
  window_.naming_mode = kNameNumbered;
  EXPECT_EQ(Convert(1), kWorkbookConverted);
  EXPECT_EQ(FilesIn("out"), (Files{"1.dbf", "2.dbf"}));
}

TEST_F(WorkbookExportTest, NumberingRestartsAfterAGoodWorkbookAndGoesOnAfterAFailedOne) {
  AddBook("bad.xls", {Data("a"), Data("b"), Data("c")});
  AddBook("good.xls", {Data("a"), Data("b")});
  AddBook("next.xls", {Data("a")});
  Book("bad.xls").fail_save_of_sheet = 2;
  window_.naming_mode = kNameNumbered;

  EXPECT_EQ(Convert(1, "bad"), kWorkbookFailed);
  EXPECT_EQ(naming_.SheetCounter, 2);
  EXPECT_EQ(Convert(2, "good"), kWorkbookConverted);
  EXPECT_EQ(Convert(3, "next"), kWorkbookConverted);
  EXPECT_EQ(FilesIn("bad"), (Files{"1.dbf"}));  // written before the failure: stays
  EXPECT_EQ(FilesIn("good"), (Files{"3.dbf", "4.dbf"}));
  EXPECT_EQ(FilesIn("next"), (Files{"1.dbf"}));
}

TEST_F(WorkbookExportTest, EveryErrorIsShownThenTheWorkbookClosedAndTheApplicationQuit) {
  struct Case {
    const char* what;
    bool fail_create;
    bool fail_open;
    int fail_save_of_sheet;
    int32_t error_number;
    std::string description;
    Log ending;             // the last calls of the log
    int32_t progress_left;  // the bar keeps its last value
  };
  const std::string book = tree_ / "in/Book.xls";
  const Case cases[] = {
      {"no application", true, false, 0, 1004, "cannot create", {"Create Excel.Application"}, 0},
      {"open fails", false, true, 0, 1004, "cannot open " + book,
       {"Open " + book, "Quit"}, 0},
      {"save fails", false, false, 2, 1004, "cannot save " + (tree_ / "out/b.dbf"),
       {"SaveAs " + (tree_ / "out/b.dbf") + " 11", "Close", "Quit"}, 1},
      // A failure of the connection itself carries a negative number; it is
      // handled like any other instead of leaving the application running.
      {"negative number", false, false, 2, -2147023174,
       "cannot save " + (tree_ / "out/b.dbf"),
       {"SaveAs " + (tree_ / "out/b.dbf") + " 11", "Close", "Quit"}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    world_ = testing::FakeWorld{};
    window_ = testing::FakeConvertWindow{};
    window_.selected_input = tree_ / "in";
    AddBook("Book.xls", {Data("a"), Data("b"), Data("c")});
    world_.fail_create = c.fail_create;
    Book("Book.xls").fail_open = c.fail_open;
    Book("Book.xls").fail_save_of_sheet = c.fail_save_of_sheet;
    world_.error_number = c.error_number;
    naming_.SheetCounter = 7;

    EXPECT_EQ(Convert(1), kWorkbookFailed);
    EXPECT_EQ(window_.boxes, (std::vector<testing::ShownBox>{{c.description, BoxIcon::kNone}}));
    ASSERT_GE(world_.log.size(), c.ending.size());
    EXPECT_EQ(Log(world_.log.end() - c.ending.size(), world_.log.end()), c.ending);
    EXPECT_EQ(window_.progress_value, c.progress_left);
    EXPECT_EQ(naming_.SheetCounter, 7);  // set back only after a workbook that worked
    EXPECT_EQ(Count("Close"), c.fail_save_of_sheet > 0 ? 1u : 0u);
    EXPECT_EQ(Count("Quit"), c.fail_create ? 0u : 1u);
  }
}

TEST_F(WorkbookExportTest, AnEntryWithoutWorkbookFileStartsNothing) {
  AddBook("Book.xls", {Data("a")});
  window_.workbooks.push_back({"gone.xls", true});
  EXPECT_EQ(Convert(2), kWorkbookNotFound);
  window_.selected_input = tree_ / "no such folder";
  EXPECT_EQ(Convert(1), kWorkbookNotFound);
  EXPECT_TRUE(world_.log.empty());
  EXPECT_TRUE(window_.events.empty());
  EXPECT_TRUE(FilesIn("out").empty());
}

TEST_F(WorkbookExportTest, WorkbookPathResolvesTheSelectedInput) {
  const std::string file = tree_.WriteFile("in/Book.xls");
  tree_.WriteFile("in/Other.xls");
  fs::create_directories(tree_ / "in/Folder.xls");
  window_.workbooks = {{"Other.xls"}, {"Missing.xls"}, {"Folder.xls"}};
  struct Case {
    std::string selected;
    int32_t workbook;
    std::string expected;
  };
  const Case cases[] = {
      {file, 2, file},                            // a file input is the workbook itself
      {tree_ / "in", 1, tree_ / "in/Other.xls"},  // a folder input holds the entry
      {tree_ / "in", 2, ""},                      // the entry's file is gone
      {tree_ / "in", 3, ""},                      // the entry names a folder
      {tree_ / "in", 9, ""},                      // no such entry
      {tree_ / "gone", 1, ""},                    // the input is gone
      {"", 1, ""},                                // nothing selected
  };
  for (const Case& c : cases) {
    window_.selected_input = c.selected;
    EXPECT_EQ(WorkbookPath(window_, c.workbook), c.expected) << c.selected << " #" << c.workbook;
  }
}

TEST(CutBeforeLastDotTest, KeepsTextWithoutDotWhole) {
  EXPECT_EQ(CutBeforeLastDot("My Book.old.xls"), "My Book.old");
  EXPECT_EQ(CutBeforeLastDot("Nodot"), "Nodot");
  EXPECT_EQ(CutBeforeLastDot(".xls"), "");
  EXPECT_EQ(CutBeforeLastDot(""), "");
}

}  // namespace
}  // namespace dravella::core
