#include "core/convert_batch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>

#include "tests/core/fake_application.h"
#include "tests/core/naming_and_shell_doubles.h"
#include "tests/core/fake_convert_window.h"
#include "tests/core/temp_folder.h"

namespace dravella::core {
namespace {

using testing::FixedRandom;
using testing::RecordingShell;

namespace fs = std::filesystem;
using testing::FakeBook;
using testing::FakeSheet;
using testing::ShownBox;
using Boxes = std::vector<ShownBox>;
using Files = std::set<std::string>;
using Log = std::vector<std::string>;

// The resting state every run ends in.
const Log kResetAtEnd = {"status ", "progress 0", "default pointer"};

class ConvertCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_.selected_input = tree_ / "in";
    fs::create_directories(tree_ / "in");
  }
  void AddBook(const std::string& file, std::vector<FakeSheet> sheets, bool ticked = true) {
    world_.books[tree_.WriteFile("in/" + file)] = FakeBook{std::move(sheets)};
    window_.workbooks.push_back({file, ticked});
  }
  // Every file and folder below the tree's folder `folder`, folders with "/".
  Files Below(const std::string& folder) const {
    Files files;
    if (!fs::exists(tree_ / folder)) return files;
    for (const auto& entry : fs::recursive_directory_iterator(tree_ / folder)) {
      files.insert(fs::relative(entry.path(), tree_ / folder).generic_string() +
                   (entry.is_directory() ? "/" : ""));
    }
    return files;
  }
  void TypeOutput(const std::string& text) {
    window_.output_text = text;
    window_.output_index = -1;
  }
  Log LastEvents(size_t n) const {
    const auto& events = window_.events;
    return Log(events.end() - static_cast<std::ptrdiff_t>(std::min(n, events.size())), events.end());
  }

  testing::TempFolder tree_;
  testing::FakeWorld world_;
  testing::FakeFactory factory_{world_};
  FixedRandom random_;
  OutputNaming naming_{random_};
  RecordingShell shell_{false};  // the answer is not examined
  testing::FakeConvertWindow window_;
  ConvertCommand command_{window_, ExportContext{factory_, naming_}, shell_};
};

TEST_F(ConvertCommandTest, PrepareOutputFolderChecksCreatesOrRefuses) {
  fs::create_directories(tree_ / "exists");
  tree_.WriteFile("a file");
  struct Case {
    const char* what;
    std::string text;
    int index;
    std::optional<ShownBox> box;
    std::string root;      // OutputRoot afterwards
    bool folder_exists;    // the text's folder exists afterwards
  };
  const std::string exists = tree_ / "exists";
  const Case cases[] = {
      {"empty text", "", -1, ShownBox{kNoOutputFolderText, BoxIcon::kInformation}, "", false},
      {"picked, exists", exists, 0, std::nullopt, tree_ / "exists/", true},
      {"picked, removed meanwhile", tree_ / "removed", 2,
       ShownBox{kFolderMissingText, BoxIcon::kCritical}, tree_ / "removed", false},
      {"typed, exists", exists, -1, std::nullopt, tree_ / "exists/", true},
      {"typed, missing: created", tree_ / "new", -1, std::nullopt, tree_ / "new/", true},
      {"typed, several trailing separators", tree_ / "new2///", -1, std::nullopt,
       tree_ / "new2/", true},
      {"typed, parent missing too", tree_ / "no/parent", -1,
       ShownBox{kFolderNotCreatedText, BoxIcon::kCritical}, tree_ / "no/parent", false},
      {"typed, names a file", tree_ / "a file", -1,
       ShownBox{kFolderNotCreatedText, BoxIcon::kCritical}, tree_ / "a file", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    window_.boxes.clear();
    window_.output_text = c.text;
    window_.output_index = c.index;
    EXPECT_EQ(command_.PrepareOutputFolder(), !c.box.has_value());
    EXPECT_EQ(window_.boxes, c.box ? Boxes{*c.box} : Boxes{});
    EXPECT_EQ(command_.OutputRoot, c.root);
    EXPECT_EQ(fs::is_directory(c.text.empty() ? tree_ / "none" : c.text), c.folder_exists);
  }
}

TEST_F(ConvertCommandTest, NothingListedShowsOnlyItsMessage) {
  TypeOutput(tree_ / "out");
  command_.Run();
  EXPECT_EQ(window_.boxes, (Boxes{{kNothingListedText, BoxIcon::kInformation}}));
  EXPECT_EQ(window_.events, (Log{"box " + std::string(kNothingListedText), "status ",
                                 "progress 0", "default pointer"}));
  EXPECT_FALSE(fs::exists(tree_ / "out"));
  EXPECT_TRUE(shell_.opened.empty());
}

TEST_F(ConvertCommandTest, ARefusedOutputFolderTouchesNoWorkbook) {
  AddBook("Book.xls", {{"S", 2, 2}});
  window_.output_text = tree_ / "removed";
  window_.output_index = 0;
  command_.Run();
  EXPECT_EQ(window_.boxes, (Boxes{{kFolderMissingText, BoxIcon::kCritical}}));
  EXPECT_TRUE(world_.log.empty());
  EXPECT_TRUE(window_.EventsStartingWith("save choices").empty());
  EXPECT_TRUE(shell_.opened.empty());
  EXPECT_EQ(LastEvents(3), kResetAtEnd);
}

TEST_F(ConvertCommandTest, NoneTickedStillValidatesAndOpensTheOutputFolder) {
  AddBook("a.xls", {{"S", 2, 2}}, false);
  AddBook("b.xls", {{"S", 2, 2}}, false);
  TypeOutput(tree_ / "out//");
  command_.Run();
  EXPECT_TRUE(window_.boxes.empty());
  EXPECT_EQ(Below("out"), Files{});  // created, and empty
  EXPECT_TRUE(fs::is_directory(tree_ / "out"));
  EXPECT_TRUE(world_.log.empty());
  EXPECT_EQ(shell_.opened, (Log{tree_ / "out/ 5"}));
}

TEST_F(ConvertCommandTest, EachTickedWorkbookGetsItsOwnFolderAndStatusLine) {
  AddBook("My Book.old.xls", {{"Orders", 2, 2}, {"Empty", 1, 1, true}});
  AddBook("skipped.xls", {{"S", 2, 2}}, false);
  AddBook("Second.xls", {{"Only", 2, 2}});
  TypeOutput(tree_ / "out");
  command_.Run();
  EXPECT_TRUE(window_.boxes.empty());
  EXPECT_EQ(Below("out"), (Files{"MyBookold/", "MyBookold/Orders.dbf", "Second/", "Second/Only.dbf"}));
  EXPECT_EQ(window_.EventsStartingWith("status "),
            (Log{"status Convert MyBookold", "status Convert Second", "status "}));
  // The list on screen is saved and the hourglass shown before any workbook.
  const auto& events = window_.events;
  EXPECT_EQ(Log(events.begin(), events.begin() + 3),
            (Log{"save choices", "hourglass", "status Convert MyBookold"}));
  EXPECT_EQ(LastEvents(3), kResetAtEnd);
  EXPECT_EQ(command_.WorkbookOutputFolder, tree_ / "out/Second");
  EXPECT_EQ(shell_.opened, (Log{tree_ / "out/ 5"}));
}

TEST_F(ConvertCommandTest, TheSheetListOnScreenIsSavedBeforeConverting) {
  AddBook("Book.xls", {{"Keep", 2, 2}, {"Drop", 2, 2}, {"Old", 2, 2}});
  window_.on_save_sheet_choices = [](SheetTable& table) {
    table.Store(1, 1, "Keep", true);
    table.Store(1, 2, "Drop", false);
    table.Store(1, 3, "New", true);
  };
  TypeOutput(tree_ / "out");
  command_.Run();
  EXPECT_EQ(Below("out"), (Files{"Book/", "Book/Keep.dbf", "Book/New.dbf"}));
}

TEST_F(ConvertCommandTest, SuffixesPileUpWhileTheFolderExists) {
  struct Case {
    std::vector<std::string> existing;
    std::string expected;
  };
  const Case cases[] = {
      {{}, "Book"},
      {{"Book"}, "Book1"},
      {{"Book", "Book1"}, "Book12"},
      {{"Book", "Book1", "Book12"}, "Book123"},
      {{"Book1"}, "Book"},  // only an existing Book starts the pile
  };
  AddBook("Book.xls", {{"S", 2, 2}});
  int n = 0;
  for (const Case& c : cases) {
    const std::string out = "out" + std::to_string(n++);
    for (const std::string& folder : c.existing) fs::create_directories(tree_ / (out + "/" + folder));
    TypeOutput(tree_ / out);
    command_.Run();
    EXPECT_TRUE(fs::exists(tree_ / (out + "/" + c.expected + "/S.dbf"))) << c.expected;
  }
}

TEST_F(ConvertCommandTest, AnEmptyShortNameMakesAFolderNamedByItsSuffix) {
  AddBook(" . .xls", {{"S", 2, 2}});
  TypeOutput(tree_ / "out");
  command_.Run();
  EXPECT_EQ(window_.EventsStartingWith("status Convert"), (Log{"status Convert "}));
  EXPECT_EQ(Below("out"), (Files{"1/", "1/S.dbf"}));
}

TEST_F(ConvertCommandTest, AFailingWorkbookIsReportedAndTheBatchGoesOn) {
  AddBook("bad.xls", {{"S", 2, 2}});
  AddBook("gone.xls", {{"S", 2, 2}});
  AddBook("blocked.xls", {{"S", 2, 2}});
  AddBook("good.xls", {{"S", 2, 2}});
  world_.books[tree_ / "in/bad.xls"].fail_open = true;
  fs::remove(tree_ / "in/gone.xls");         // result 3: no file for the entry
  tree_.WriteFile("out/blocked", "a file");  // the workbook's folder cannot be made
  TypeOutput(tree_ / "out");
  command_.Run();
  EXPECT_EQ(window_.boxes, (Boxes{{"cannot open " + (tree_ / "in/bad.xls"), BoxIcon::kNone},
                                  {"Convert bad file failed!", BoxIcon::kCritical},
                                  {"Convert gone file failed!", BoxIcon::kCritical},
                                  {"Convert blocked file failed!", BoxIcon::kCritical}}));
  // Folders made before a failure stay.
  EXPECT_EQ(Below("out"), (Files{"bad/", "gone/", "blocked", "good/", "good/S.dbf"}));
  EXPECT_EQ(shell_.opened, (Log{tree_ / "out/ 5"}));
  EXPECT_EQ(LastEvents(3), kResetAtEnd);
}

TEST_F(ConvertCommandTest, NumberedNamesRestartPerWorkbookButNotAfterAFailure) {
  AddBook("a.xls", {{"x", 2, 2}, {"y", 2, 2}});
  AddBook("b.xls", {{"x", 2, 2}, {"y", 2, 2}, {"z", 2, 2}});
  AddBook("c.xls", {{"x", 2, 2}});
  world_.books[tree_ / "in/b.xls"].fail_save_of_sheet = 2;
  window_.naming_mode = kNameNumbered;
  TypeOutput(tree_ / "out");
  command_.Run();
  EXPECT_EQ(Below("out"),
            (Files{"a/", "a/1.dbf", "a/2.dbf", "b/", "b/1.dbf", "c/", "c/3.dbf"}));
  // The progress bar is back at rest although the failure left it standing.
  EXPECT_EQ(window_.progress_value, 0);
}

TEST(ConvertTextsTest, ShortNamesAndFailureText) {
  EXPECT_EQ(WorkbookShortName("My Book.old.xls"), "MyBookold");
  EXPECT_EQ(WorkbookShortName("Plain"), "Plain");
  EXPECT_EQ(WorkbookShortName(" . .xls"), "");
  EXPECT_EQ(WorkbookFailedText("MyBookold"), "Convert MyBookold file failed!");
}

}  // namespace
}  // namespace dravella::core
