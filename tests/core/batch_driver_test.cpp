#include "core/batch_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>
#include <vector>

#include "core/path_join.h"
#include "tests/core/fake_application.h"
#include "tests/core/naming_and_shell_doubles.h"
#include "tests/core/temp_folder.h"

namespace dravella::core {
namespace {

namespace fs = std::filesystem;
using testing::FakeBook;
using testing::FakeSheet;
using testing::FixedRandom;
using testing::RecordingShell;
using Log = std::vector<std::string>;

class BatchDriverTest : public ::testing::Test {
 protected:
  // A workbook file on disk (any bytes: the fake reads the script) with sheets.
  std::string AddBook(const std::string& relative, std::vector<FakeSheet> sheets) {
    const std::string path = tree_.WriteFile(relative);
    world_.books[path] = FakeBook{std::move(sheets)};
    return path;
  }
  BatchOutcome Run(const std::string& line) {
    RunOptions options;
    CommandTokens tokens;
    EXPECT_TRUE(ParseCommandLine(line, tokens, options)) << line;
    return RunBatch(options, context_);
  }
  std::set<std::string> FilesBelow(const std::string& folder) const {
    std::set<std::string> files;
    if (!fs::exists(folder)) return files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
      files.insert(fs::relative(entry.path(), folder).generic_string() +
                   (entry.is_directory() ? "/" : ""));
    }
    return files;
  }
  std::string Quoted(const std::string& path) const { return "\"" + path + "\""; }

  std::string Content(const std::string& relative) const {
    std::ifstream in(tree_ / relative);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // Records every line the run reports.
  class RecordingReporter final : public BatchReporter {
   public:
    void Failed(const std::string& workbook, const std::string& worksheet,
                const std::string& reason) override {
      lines.push_back(FailureLine(workbook, worksheet, reason));
    }
    void CharactersReplaced(const std::string& workbook, const ReplacedCharacters& table) override {
      lines.push_back(ReplacedCharactersLine(workbook, table));
    }
    std::vector<std::string> lines;
  };

  testing::TempFolder tree_;
  testing::FakeWorld world_;
  testing::FakeFactory factory_{world_};
  RecordingShell shell_;
  FixedRandom random_;
  OutputNaming naming_{random_};
  RecordingReporter reporter_;
  BatchContext context_{factory_, shell_, naming_, &reporter_};
};

TEST_F(BatchDriverTest, OneWorkbookGoesIntoTheOutputFolderInCallOrder) {
  const std::string book = AddBook("in/Sales.xls", {{"Sales", 2, 2}, {"Costs", 2, 2}});
  const std::string out = tree_ / "out";  // missing: created (one level)
  EXPECT_EQ(Run(Quoted(book) + " " + Quoted(out) + " /dbf4 /cp=866"), BatchOutcome::kAllConverted);
  EXPECT_EQ(FilesBelow(out), (std::set<std::string>{"Sales.dbf", "Costs.dbf"}));
  const Log expected_start = {"Create Excel.Application", "CodePage 866", "Open " + book,
                              "DisplayAlerts off", "Worksheets.Count", "Name 1", "Activate 1"};
  ASSERT_GE(world_.log.size(), expected_start.size());
  EXPECT_EQ(Log(world_.log.begin(), world_.log.begin() + expected_start.size()), expected_start);
  EXPECT_EQ(Log(world_.log.end() - 3, world_.log.end()),
            (Log{"SaveAs " + (tree_ / "out/Costs.dbf") + " 11", "Close", "Quit"}));
  EXPECT_TRUE(shell_.opened.empty());
}

// Whether names may hold '?', '*' and '"', as they may on POSIX systems
// and may not on Windows.
bool NamesHoldWildcards() { return kPathSeparator == '/'; }

TEST_F(BatchDriverTest, FolderModeTakesOnlyXlsFilesIntoSubfolders) {
  AddBook("in/a.xls", {{"S", 2, 2}});
  AddBook("in/c.XLS", {{"S", 2, 2}});
  AddBook("in/b.xlsx", {{"S", 2, 2}});
  AddBook("in/.hidden.xls", {{"S", 2, 2}});
  AddBook("in/sub/d.xls", {{"S", 2, 2}});
  std::set<std::string> expected{"a/", "a/S.dbf", "c/", "c/S.dbf"};
  if (NamesHoldWildcards()) {
    AddBook("in/what?.xls", {{"S", 2, 2}});  // '?' belongs to real names here
    expected.insert({"what?/", "what?/S.dbf"});
  }
  fs::create_directory(tree_ / "in/folder.xls");
  fs::create_directory(tree_ / "out");
  fs::create_directory(tree_ / "out/a");  // an existing subfolder is reused
  EXPECT_EQ(Run(Quoted(tree_ / "in") + " " + Quoted(tree_ / "out")), BatchOutcome::kAllConverted);
  EXPECT_EQ(FilesBelow(tree_ / "out"), expected);
}

TEST_F(BatchDriverTest, FolderModeNeedsAnExistingOutputFolder) {
  AddBook("in/a.xls", {{"S", 2, 2}});
  EXPECT_EQ(Run(Quoted(tree_ / "in") + " " + Quoted(tree_ / "missing") + " /open=1"),
            BatchOutcome::kSomeFailed);
  EXPECT_FALSE(fs::exists(tree_ / "missing"));
  EXPECT_TRUE(shell_.opened.empty());  // nothing to open
  EXPECT_TRUE(world_.log.empty());
}

TEST_F(BatchDriverTest, KeepingExistingTablesLeavesGapsInTheNumbering) {
  const std::string book = AddBook("in/Book.xls", {{"A", 2, 2}, {"B", 2, 2}, {"C", 2, 2}});
  fs::create_directory(tree_ / "out");
  tree_.WriteFile("out/2.dbf", "keep me");
  EXPECT_EQ(Run(Quoted(book) + " " + Quoted(tree_ / "out") + " /name=3 /overwrite=0"),
            BatchOutcome::kAllConverted);
  EXPECT_EQ(FilesBelow(tree_ / "out"), (std::set<std::string>{"1.dbf", "2.dbf", "3.dbf"}));
  std::ifstream kept(tree_ / "out/2.dbf");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "keep me");
  EXPECT_EQ(std::count(world_.log.begin(), world_.log.end(), "Activate 2"), 0);
}

TEST_F(BatchDriverTest, NumberingGoesOnAfterAFailedWorkbookAndRestartsAfterAGoodOne) {
  // Run one workbook at a time so the order is known.
  const std::string good = AddBook("in/good.xls", {{"A", 2, 2}, {"B", 2, 2}});
  const std::string bad = AddBook("in/bad.xls", {{"A", 2, 2}, {"B", 2, 2}, {"C", 2, 2}});
  world_.books[bad].fail_save_of_sheet = 2;
  RunOptions options;
  options.NameSwitch = "/name=3";
  fs::create_directory(tree_ / "out");

  EXPECT_FALSE(ConvertWorkbookFile(bad, tree_ / "out", options, context_));
  EXPECT_EQ(naming_.SheetCounter, 2);  // kept after a failure
  EXPECT_EQ(Log(world_.log.end() - 2, world_.log.end()), (Log{"Close", "Quit"}));
  EXPECT_TRUE(ConvertWorkbookFile(good, tree_ / "out", options, context_));
  EXPECT_EQ(naming_.SheetCounter, 0);
  // bad wrote 1.dbf, then good went on with 3 and 4.
  EXPECT_EQ(FilesBelow(tree_ / "out"), (std::set<std::string>{"1.dbf", "3.dbf", "4.dbf"}));
}

TEST_F(BatchDriverTest, FailuresAreReportedAndTheRunGoesOn) {
  AddBook("in/a.xls", {{"S", 2, 2}});
  AddBook("in/b.xls", {{"S", 2, 2}});
  world_.fail_create = true;  // no application at all
  fs::create_directory(tree_ / "out");
  EXPECT_EQ(Run(Quoted(tree_ / "in") + " " + Quoted(tree_ / "out") + " /open=1"),
            BatchOutcome::kSomeFailed);
  // Both folders were made before the failures and stay; the folder is opened.
  EXPECT_EQ(FilesBelow(tree_ / "out"), (std::set<std::string>{"a/", "b/"}));
  EXPECT_EQ(shell_.opened, (std::vector<std::string>{tree_ / "out/ 5"}));
  EXPECT_EQ(std::count(world_.log.begin(), world_.log.end(), "Quit"), 0);
  std::vector<std::string> lines = reporter_.lines;
  std::sort(lines.begin(), lines.end());
  EXPECT_EQ(lines, (std::vector<std::string>{tree_ / "in/a.xls: cannot create",
                                             tree_ / "in/b.xls: cannot create"}));
}

TEST_F(BatchDriverTest, AFailedWorksheetIsNamedInItsLine) {
  const std::string book = AddBook("in/a.xls", {{"One", 2, 2}, {"Two", 2, 2}});
  world_.books[book].fail_save_of_sheet = 2;
  EXPECT_EQ(Run(Quoted(book) + " " + Quoted(tree_ / "out")), BatchOutcome::kSomeFailed);
  EXPECT_EQ(reporter_.lines, (std::vector<std::string>{
                                 book + ", worksheet \"Two\": cannot save " + (tree_ / "out/Two.dbf")}));
}

// Workbooks whose folder names come out alike get _2, _3 ... within one
// run; folders of an earlier run are reused, as the overwrite rule says.
TEST_F(BatchDriverTest, WorkbookFoldersTakenTwiceInOneRunGetSuffixes) {
  // Three names a file system that ignores letter case also tells apart.
  AddBook("in/Report.xls", {{"one", 2, 2}});
  AddBook("in/REPORT .XLS", {{"two", 2, 2}});
  AddBook("in/report  .xls", {{"three", 2, 2}});
  fs::create_directory(tree_ / "out");
  for (int run = 1; run <= 2; ++run) {
    SCOPED_TRACE(run);
    EXPECT_EQ(Run(Quoted(tree_ / "in") + " " + Quoted(tree_ / "out")), BatchOutcome::kAllConverted);
    std::set<std::string> folders, tables;
    for (const std::string& entry : FilesBelow(tree_ / "out")) {
      if (entry.back() == '/') {
        // Which of them gets the plain name depends on the listing's order.
        std::string folder = entry;
        std::transform(folder.begin(), folder.end(), folder.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        folders.insert(folder);
      } else {
        tables.insert(entry.substr(entry.find('/') + 1));
      }
    }
    EXPECT_EQ(folders, (std::set<std::string>{"report/", "report_2/", "report_3/"}));
    EXPECT_EQ(tables, (std::set<std::string>{"one.dbf", "two.dbf", "three.dbf"}));
  }
}

// Whether an output exists is a plain existence test: hidden names, names
// with '?' or '*' and folder paths ending in "//" are outputs like others.
TEST_F(BatchDriverTest, ExistingOutputsAreSeenWhateverTheirNames) {
  std::vector<const char*> tables{"/.hidden.dbf"};
  if (NamesHoldWildcards()) tables.insert(tables.end(), {"/Q?.dbf", "/A*.dbf"});
  const std::string book = AddBook("in/Book.xls", {{".hidden", 2, 2}, {"Q?", 2, 2}, {"A*", 2, 2}});
  for (const std::string out : {"out/.f7", "out/plain//"}) {
    SCOPED_TRACE(out);
    fs::create_directories(tree_ / "out");
    const std::string line = Quoted(book) + " " + Quoted(tree_ / out) + " /overwrite=0";
    ASSERT_EQ(Run(line), BatchOutcome::kAllConverted);
    for (const char* table : tables) {
      tree_.WriteFile(out + table, "earlier");
    }
    EXPECT_EQ(Run(line), BatchOutcome::kAllConverted) << "the existing folder is taken as it is";
    for (const char* table : tables) {
      EXPECT_EQ(Content(out + table), "earlier") << table;
    }
    EXPECT_TRUE(reporter_.lines.empty());
  }
}

TEST_F(BatchDriverTest, AnOutputFolderThatCannotBeMadeStopsTheRun) {
  const std::string book = AddBook("in/a.xls", {{"S", 2, 2}});
  tree_.WriteFile("blocker", "a file in the way");
  EXPECT_EQ(Run(Quoted(book) + " " + Quoted(tree_ / "blocker")), BatchOutcome::kSomeFailed);
  EXPECT_TRUE(world_.log.empty());
  EXPECT_EQ(Run(Quoted(book) + " " + Quoted(tree_ / "no/such/parent")), BatchOutcome::kSomeFailed);
  EXPECT_FALSE(fs::exists(tree_ / "no"));
}

TEST_F(BatchDriverTest, BookNamesFollowTheFileName) {
  struct Case {
    std::string file;
    std::string switches;
    std::string sheet;
    std::string expected;
  };
  const Case cases[] = {
      {"Sales.xls", "", "Sales", "Sales.dbf"},           // plain names: no suffix
      {"Sales.xls", "/name=1", "Sales", "Sales_Sales.dbf"},
      {"Book1.xls", "/name=2", "Data", "Book1_Data.dbf"},
      {"Nodot", "/name=2", "Data", "_Data.dbf"},          // no dot: an empty book name
      {"Nodot", "/name=1", "nodot", "nodot.dbf"},         // the empty book name never matches
      {"2.xls", "/name=3", "x", "1.dbf"},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::string folder = "case" + std::to_string(n++);
    const std::string book = AddBook(folder + "/" + c.file, {{c.sheet, 2, 2}});
    const std::string out = tree_ / (folder + "-out");
    EXPECT_EQ(Run(Quoted(book) + " " + Quoted(out) + " " + c.switches), BatchOutcome::kAllConverted);
    EXPECT_EQ(FilesBelow(out), (std::set<std::string>{c.expected})) << c.file << " " << c.switches;
  }
}

// A folder that cannot be listed (here: gone after it was classified) is a
// failure with its reason, never the end of the program.
TEST(CollectWorkbooksTest, AListingErrorIsReportedWithItsReason) {
  testing::TempFolder tree;
  auto list = std::make_unique<WorkbookList>();
  std::string reason;
  EXPECT_FALSE(CollectWorkbooks(tree / "gone", *list, &reason));
  EXPECT_EQ(list->WorkbookCount, 0);
  EXPECT_EQ(reason, "cannot list the folder " + (tree / "gone") + ": No such file or directory");
}

TEST(WorkbookBaseNameTest, CutsFolderLastExtensionAndTrailingBlanks) {
  testing::TempFolder tree;
  EXPECT_EQ(WorkbookBaseName(tree.WriteFile("My Book .old.xls")), "My Book .old");
  EXPECT_EQ(WorkbookBaseName(tree.WriteFile("Plain")), "Plain");
  EXPECT_EQ(WorkbookBaseName(tree.WriteFile("Blank .xls")), "Blank");
  EXPECT_EQ(WorkbookBaseName(tree / "missing.xls"), "");
  EXPECT_EQ(WorkbookBaseName(""), "");
}

}  // namespace
}  // namespace dravella::core
