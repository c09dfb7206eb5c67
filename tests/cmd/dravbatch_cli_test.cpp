// The command-line program seen from outside: exit status, output, files.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "engine/code_pages.h"
#include "tests/cmd/run_program.h"
#include "tests/core/temp_folder.h"

namespace dravella {
namespace {

namespace fs = std::filesystem;
using testing::RunProgram;

TEST(DravbatchCliTest, WithoutArgumentsSaysWhyAndExitsOne) {
  const auto run = RunProgram(DRAVBATCH_PATH, {});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err,
            "dravbatch: no input given (usage: dravbatch <input> <output-folder> [switch ...]; "
            "see dravbatch --help)\n");
}

TEST(DravbatchCliTest, HelpPrintsTheUsageWithEverySwitch) {
  for (const char* flag : {"--help", "-h", "/?"}) {
    const auto run = RunProgram(DRAVBATCH_PATH, {flag});
    EXPECT_EQ(run.exit_status, 0) << flag;
    EXPECT_TRUE(run.out.starts_with("Usage: dravbatch <input> <output-folder>")) << flag;
    for (const char* word : {"/dbf2", "/dbf3", "/dbf4", "/name=1", "/name=2", "/name=3",
                             "/overwrite=0", "/overwrite=1", "/open=0", "/open=1", "/cp="}) {
      EXPECT_NE(run.out.find(word), std::string::npos) << word;
    }
    for (const engine::CodePageFacts& page : engine::TableCodePages()) {
      EXPECT_NE(run.out.find(" " + std::string(page.key) + " "), std::string::npos) << page.key;
    }
  }
  // Help only as the sole argument: otherwise it is an input path like any other.
  EXPECT_EQ(RunProgram(DRAVBATCH_PATH, {"--help", "/tmp"}).exit_status, 1);
}

TEST(DravbatchCliTest, VersionIsTheBuildsProjectVersion) {
  const auto run = RunProgram(DRAVBATCH_PATH, {"--version"});
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(run.out, std::string("dravbatch ") + PROJECT_VERSION_TEXT + "\n");
  EXPECT_EQ(run.err, "");
  // Only as the sole argument, as --help.
  EXPECT_EQ(RunProgram(DRAVBATCH_PATH, {"--version", "/tmp"}).exit_status, 1);
}

TEST(DravbatchCliTest, RejectedLinesChangeNothing) {
  testing::TempFolder tree;
  const std::string out = tree / "out";
  const auto run = RunProgram(DRAVBATCH_PATH, {tree / "missing.xls", out, "/open=1"});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "dravbatch: " + (tree / "missing.xls") +
                         ": neither an existing file nor an existing folder (hidden entries, and "
                         "patterns with * or ? that name no entry, are not taken)\n");
  EXPECT_FALSE(fs::exists(out));
}

TEST(DravbatchCliTest, AnUnknownCodePageIsRejectedWithOneLineSayingWhy) {
  testing::TempFolder tree;
  const std::string book = tree.WriteFile("book.xls", "whatever");
  const std::string out = tree / "out";
  const auto run = RunProgram(DRAVBATCH_PATH, {book, out, "/cp=UTF-16"});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(run.err.starts_with("dravbatch: unknown code page \"UTF-16\"")) << run.err;
  EXPECT_NE(run.err.find("936, 949, 950"), std::string::npos) << run.err;
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  EXPECT_FALSE(fs::exists(out));
}

}  // namespace
}  // namespace dravella
