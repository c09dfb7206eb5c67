// dravbatch at the edges: names, folders, interrupted and concurrent runs,
// and the lines it writes on standard error.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <thread>

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
    book.AddSheet(name).Text(0, 0, "Name").Text(1, 0, "x");
  }
  book.WriteTo(path);
}

std::set<std::string> FilesIn(const std::string& folder) {
  std::set<std::string> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    files.insert(entry.path().filename().string() + (entry.is_directory() ? "/" : ""));
  }
  return files;
}

// Starts dravbatch without waiting for it; its output goes nowhere.
pid_t Start(const std::vector<std::string>& args) {
  std::vector<char*> argv{const_cast<char*>(DRAVBATCH_PATH)};
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  if (posix_spawn(&pid, DRAVBATCH_PATH, &actions, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

int WaitFor(pid_t pid) {
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

bool HasTempFile(const std::string& folder) {
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    if (entry.path().extension() == ".tmp") return true;
  }
  return false;
}

TEST(DravbatchEdgesTest, EachFailureIsOneLineOnStandardError) {
  testing::TempFolder tree;
  fs::create_directories(tree / "in");
  fs::create_directories(tree / "out");
  WriteBook(tree / "in/good.xls", {"Sheet1"});
  tree.WriteFile("in/bad.xls", "<html>not a workbook</html>");
  testing::WorkbookBuilder wide;
  auto& sheet = wide.AddSheet("Wide");
  for (uint16_t column = 0; column < 300; ++column) sheet.Text(0, column, "F").Number(1, column, 1);
  wide.WriteTo(tree / "in/wide.xls");

  const auto run = RunProgram(DRAVBATCH_PATH, {tree / "in", tree / "out", "/dbf4"});
  EXPECT_EQ(run.exit_status, 2);
  EXPECT_EQ(run.out, "");
  std::set<std::string> lines;
  for (size_t start = 0, end; (end = run.err.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.insert(run.err.substr(start, end - start));
  }
  ASSERT_EQ(lines.size(), 2u) << run.err;
  const std::string bad = *lines.begin();
  const std::string wide_line = *lines.rbegin();
  EXPECT_TRUE(bad.starts_with("dravbatch: " + (tree / "in/bad.xls") + ": ")) << bad;
  EXPECT_NE(bad.find("not an .xls workbook"), std::string::npos) << bad;
  EXPECT_EQ(wide_line, "dravbatch: " + (tree / "in/wide.xls") +
                           ", worksheet \"Wide\": The worksheet has 300 columns; a dBASE IV table "
                           "holds at most 255 fields.");
}

TEST(DravbatchEdgesTest, CharactersTheCodePageCannotHoldAreCountedInAWarning) {
  testing::TempFolder tree;
  testing::WorkbookBuilder book;
  book.AddSheet("Names").Text(0, 0, "Name").Text(1, 0, "Жук").Text(2, 0, "ok");
  book.WriteTo(tree / "book.xls");
  const auto run = RunProgram(DRAVBATCH_PATH, {tree / "book.xls", tree / "out"});
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(run.err, "dravbatch: " + (tree / "book.xls") + ", worksheet \"Names\": warning: 3 "
                     "characters written as '?' in " + (tree / "out/Names.dbf") +
                     ": the code page cannot hold them (try /cp=utf8 or the workbook's own code "
                     "page)\n");
  const auto utf8 = RunProgram(DRAVBATCH_PATH, {tree / "book.xls", tree / "out", "/cp=utf8"});
  EXPECT_EQ(utf8.exit_status, 0);
  EXPECT_EQ(utf8.err, "");
}

TEST(DravbatchEdgesTest, AnEmptyInputIsRejectedAndNeverShiftsTheOutputFolder) {
  testing::TempFolder tree;
  fs::create_directories(tree / "in");
  WriteBook(tree / "in/a.xls", {"S"});
  const auto run = RunProgram(DRAVBATCH_PATH, {"", tree / "in"});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_NE(run.err.find("no input given"), std::string::npos) << run.err;
  EXPECT_EQ(FilesIn(tree / "in"), std::set<std::string>{"a.xls"});
}

// '?', '*' and '"' are characters of real names on this platform.
TEST(DravbatchEdgesTest, InputsNamedWithWildcardAndQuoteCharacters) {
  testing::TempFolder tree;
  fs::create_directories(tree / "in");
  fs::create_directories(tree / "out");
  WriteBook(tree / "in/what?.xls", {"S"});
  WriteBook(tree / "in/A*.xls", {"S"});
  WriteBook(tree / "in/say \"hi\".xls", {"S"});
  const auto one = RunProgram(DRAVBATCH_PATH, {tree / "in/say \"hi\".xls", tree / "one"});
  EXPECT_EQ(one.exit_status, 0) << one.err;
  EXPECT_EQ(FilesIn(tree / "one"), std::set<std::string>{"S.dbf"});
  const auto all = RunProgram(DRAVBATCH_PATH, {tree / "in", tree / "out"});
  EXPECT_EQ(all.exit_status, 0) << all.err;
  EXPECT_EQ(FilesIn(tree / "out"), (std::set<std::string>{"what?/", "A*/", "say \"hi\"/"}));
}

// A long worksheet name is saved under its whole name when the folder takes
// it, and cut at a character boundary when not; the workbook goes on.
TEST(DravbatchEdgesTest, LongWorksheetNames) {
  testing::TempFolder tree;
  std::string accented;
  for (int i = 0; i < 150; ++i) accented += "é";  // 300 bytes
  const std::string long_name(245, 'n');
  WriteBook(tree / "book.xls", {long_name, accented, "After"});
  const auto run = RunProgram(DRAVBATCH_PATH, {tree / "book.xls", tree / "out"});
  EXPECT_EQ(run.exit_status, 0) << run.err;
  EXPECT_EQ(FilesIn(tree / "out"), (std::set<std::string>{long_name + ".dbf",
                                                            accented.substr(0, 250) + ".dbf",
                                                            "After.dbf"}));
}

// Two runs into one output folder: a workbook folder the other run made
// between the test and the creation is taken, not a failure.
TEST(DravbatchEdgesTest, TwoRunsIntoTheSameOutputFolder) {
  testing::TempFolder tree;
  fs::create_directories(tree / "in");
  for (int i = 0; i < 12; ++i) WriteBook(tree / ("in/b" + std::to_string(i) + ".xls"), {"S"});
  for (int round = 0; round < 4; ++round) {
    SCOPED_TRACE(round);
    const std::string out = tree / ("out" + std::to_string(round));
    fs::create_directories(out);
    const pid_t first = Start({tree / "in", out});
    const pid_t second = Start({tree / "in", out});
    ASSERT_GT(first, 0);
    ASSERT_GT(second, 0);
    EXPECT_EQ(WaitFor(first), 0);
    EXPECT_EQ(WaitFor(second), 0);
    EXPECT_EQ(FilesIn(out).size(), 12u);
  }
}

// SIGTERM while a large table is written: the temporary files go with the
// process.
TEST(DravbatchEdgesTest, AnInterruptedRunLeavesNoTemporaryFiles) {
  testing::TempFolder tree;
  testing::WorkbookBuilder book;
  for (int s = 0; s < 8; ++s) {
    auto& sheet = book.AddSheet("S" + std::to_string(s));
    for (uint16_t c = 0; c < 6; ++c) sheet.Text(0, c, "F" + std::to_string(c));
    for (uint16_t r = 1; r < 30000; ++r) {
      for (uint16_t c = 0; c < 6; ++c) sheet.Text(r, c, "some text of a cell " + std::to_string(r));
    }
  }
  book.WriteTo(tree / "big.xls");
  const std::string out = tree / "out";
  fs::create_directories(out);

  const pid_t pid = Start({tree / "big.xls", out});
  ASSERT_GT(pid, 0);
  bool seen = false;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!seen && std::chrono::steady_clock::now() < deadline) {
    seen = HasTempFile(out);
    if (!seen) std::this_thread::sleep_for(std::chrono::microseconds(200));
    if (waitpid(pid, nullptr, WNOHANG) == pid) GTEST_SKIP() << "the run ended before a save was seen";
  }
  ASSERT_TRUE(seen);
  kill(pid, SIGTERM);
  EXPECT_EQ(WaitFor(pid), 128 + SIGTERM);
  EXPECT_FALSE(HasTempFile(out));
}

}  // namespace
}  // namespace dravella
