// Saves that fail leave nothing behind and an earlier table untouched;
// saves that succeed leave no stale memo or code-page file beside it.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "engine/dbf/dbf_writer.h"
#include "engine/dbf/staged_file.h"
#include "tests/dbf/dbf_test_files.h"
#include "tests/dbf/generated_grid.h"
#include "tests/dbf/memory_grid.h"

#ifdef __unix__
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace dravella::engine::testing {
namespace {

using Files = std::vector<std::string>;

DbfOptions Options(DbfLevel level, CodePage page = CodePage::k1252) {
  DbfOptions options;
  options.level = level;
  options.code_page = page;
  options.header_date = DbfDate{2024, 1, 2};
  return options;
}

void WriteFile(const std::filesystem::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

MemoryGrid SmallGrid() { return MemoryGrid::Column("A", {Number(1)}); }

TEST(FailedSave, UnusableTargetPaths) {
  ScratchFolder folder;
  std::filesystem::create_directory(folder / "sub");
  const std::string base = folder.path().string();
  const std::string sep(1, static_cast<char>(std::filesystem::path::preferred_separator));
  const struct {
    std::filesystem::path target;
    std::string description;
  } cases[] = {
      {"", "The target path is empty."},
      {folder / "missing" / "t.dbf", "The folder " + base + sep + "missing does not exist."},
      {folder / "sub", "The target path " + base + sep + "sub is a folder."},
      {folder.path() / "sub" / "", "The target path " + base + sep + "sub" + sep + " names no file."},
      {folder / "t.dbt", "The table " + base + sep + "t.dbt cannot end in .dbt or .cpg: those names "
                         "belong to its memo and code-page files."},
      {folder / "t.CPG", "The table " + base + sep + "t.CPG cannot end in .dbt or .cpg: those names "
                         "belong to its memo and code-page files."},
  };
  for (const auto& c : cases) {
    const Status status = WriteDbfTable(SmallGrid(), c.target, Options(DbfLevel::kDbase3));
    EXPECT_EQ(status.code(), ErrorCode::kBadTargetPath) << c.target;
    EXPECT_EQ(status.description(), c.description);
  }
  EXPECT_EQ(folder.Files(), Files{"sub"});
  EXPECT_TRUE(std::filesystem::is_empty(folder / "sub"));
}

TEST(FailedSave, RefusedTableLeavesEarlierFilesAsTheyWere) {
  ScratchFolder folder;
  WriteFile(folder / "t.dbf", "earlier table");
  WriteFile(folder / "t.dbt", "earlier memo");
  const Status status =
      WriteDbfTable(TextGrid(2, 300, "x"), folder / "t.dbf", Options(DbfLevel::kDbase4));
  EXPECT_EQ(status.code(), ErrorCode::kTooManyFields);
  EXPECT_EQ(folder.Files(), (Files{"t.dbf", "t.dbt"}));
  EXPECT_EQ(ReadBytes(folder / "t.dbf"), "earlier table");
  EXPECT_EQ(ReadBytes(folder / "t.dbt"), "earlier memo");
}

TEST(FailedSave, ASuccessfulSaveRemovesCompanionsItDoesNotUse) {
  ScratchFolder folder;
  const std::filesystem::path target = folder / "t.dbf";
  const MemoryGrid with_memo = MemoryGrid::Column("T", {Text(std::string(300, 'x'))});

  ASSERT_TRUE(WriteDbfTable(with_memo, target, Options(DbfLevel::kDbase3, CodePage::kUtf8)).ok());
  EXPECT_EQ(folder.Files(), (Files{"t.cpg", "t.dbf", "t.dbt"}));

  ASSERT_TRUE(WriteDbfTable(SmallGrid(), target, Options(DbfLevel::kDbase3)).ok());
  EXPECT_EQ(folder.Files(), Files{"t.dbf"});
  EXPECT_EQ(ReadTable(target).fields.at(0).type, 'N');

  ASSERT_TRUE(WriteDbfTable(with_memo, target, Options(DbfLevel::kDbase4)).ok());
  EXPECT_EQ(folder.Files(), (Files{"t.dbf", "t.dbt"}));

  ASSERT_TRUE(WriteDbfTable(with_memo, target, Options(DbfLevel::kDbase2, CodePage::kUtf8)).ok());
  EXPECT_EQ(folder.Files(), (Files{"t.cpg", "t.dbf"}));
}

TEST(FailedSave, AnotherTablesCompanionsAreLeftAlone) {
  ScratchFolder folder;
  WriteFile(folder / "other.dbt", "memo");
  WriteFile(folder / "t.dbf.dbt", "memo");
  ASSERT_TRUE(WriteDbfTable(SmallGrid(), folder / "t.dbf", Options(DbfLevel::kDbase3)).ok());
  EXPECT_EQ(folder.Files(), (Files{"other.dbt", "t.dbf", "t.dbf.dbt"}));
}

// The memo and code-page files go into place before the table. When a later
// one cannot be put in place (here a folder stands at the code-page name),
// the memo already in place must not pair the earlier table with new texts:
// every earlier file comes back as it was and no new or temporary file stays.
TEST(FailedSave, AReplaceThatFailsAfterTheMemoWasPlacedRestoresEveryEarlierFile) {
  ScratchFolder folder;
  WriteFile(folder / "t.dbf", "earlier table");
  WriteFile(folder / "t.dbt", "earlier memo");
  std::filesystem::create_directory(folder / "t.cpg");
  WriteFile(folder / "t.cpg" / "inside", "in the way");
  const MemoryGrid with_memo = MemoryGrid::Column("T", {Text(std::string(300, 'n'))});

  const Status status =
      WriteDbfTable(with_memo, folder / "t.dbf", Options(DbfLevel::kDbase3, CodePage::kUtf8));
  EXPECT_EQ(status.code(), ErrorCode::kWriteFailed);
  EXPECT_NE(status.description().find("Cannot replace " + (folder / "t.cpg").string()),
            std::string::npos)
      << status.description();
  EXPECT_EQ(folder.Files(), (Files{"t.cpg", "t.dbf", "t.dbt"}));
  EXPECT_EQ(ReadBytes(folder / "t.dbf"), "earlier table");
  EXPECT_EQ(ReadBytes(folder / "t.dbt"), "earlier memo");
}

// Temporary names do not grow with the table's name, so every name the
// folder takes can be saved; a leftover of an interrupted save of the same
// table is removed by the next save.
TEST(FailedSave, TemporaryNamesFitAnyTableNameAndLeftoversAreRemoved) {
  for (const size_t length : {size_t{8}, size_t{245}, size_t{251}}) {
    SCOPED_TRACE(length);
    ScratchFolder folder;
    const std::filesystem::path target = folder / (std::string(length, 'n') + ".dbf");
    WriteFile(dbf::TempPathFor(target, 0), "left by an interrupted save");
    WriteFile(dbf::TempPathFor(target, 3), "left by an interrupted save");
    const MemoryGrid with_memo = MemoryGrid::Column("T", {Text(std::string(300, 'n'))});
    ASSERT_TRUE(WriteDbfTable(with_memo, target, Options(DbfLevel::kDbase3)).ok());
    const std::string base(length, 'n');
    EXPECT_EQ(folder.Files(), (Files{base + ".dbf", base + ".dbt"}));
  }
}

// A save in progress holds its temporary file, also once it is written and
// closed: a second save of the same table leaves it alone and takes the next
// name, and each one puts its own bytes in place.
TEST(FailedSave, ASaveInProgressKeepsItsTemporaryFileFromAnotherSave) {
  ScratchFolder folder;
  const std::filesystem::path target = folder / "t.dbf";
  Result<dbf::StagedFile> first = dbf::StagedFile::Create(target);
  ASSERT_TRUE(first.ok());
  first->Write("first", 5);
  ASSERT_TRUE(first->Finish().ok());

  Result<dbf::StagedFile> second = dbf::StagedFile::Create(target);
  ASSERT_TRUE(second.ok());
  EXPECT_EQ(first->temp_path(), dbf::TempPathFor(target, 0));
  EXPECT_EQ(second->temp_path(), dbf::TempPathFor(target, 1));
  EXPECT_EQ(ReadBytes(first->temp_path()), "first");
  second->Write("second", 6);
  ASSERT_TRUE(second->Finish().ok());

  ASSERT_TRUE(first->Commit().ok());
  EXPECT_EQ(ReadBytes(target), "first");
  ASSERT_TRUE(second->Commit().ok());
  EXPECT_EQ(ReadBytes(target), "second");
  EXPECT_EQ(folder.Files(), Files{"t.dbf"});
}

#ifdef __unix__
// Runs the save in a child process whose files may not grow beyond
// max_file_bytes; returns the Status the save reported.
Status SaveWithFileSizeLimit(const CellGrid& grid, const std::filesystem::path& target,
                             rlim_t max_file_bytes) {
  int pipe_ends[2];
  if (pipe(pipe_ends) != 0) return Status::Error(ErrorCode::kNone, "no pipe");
  const pid_t child = fork();
  if (child == 0) {
    close(pipe_ends[0]);
    std::signal(SIGXFSZ, SIG_IGN);  // a write beyond the limit fails with EFBIG instead
    const rlimit limit{max_file_bytes, max_file_bytes};
    setrlimit(RLIMIT_FSIZE, &limit);
    const Status status = WriteDbfTable(grid, target, Options(DbfLevel::kDbase3));
    const std::string report = std::to_string(status.number()) + "\n" + status.description();
    ssize_t ignored = write(pipe_ends[1], report.data(), report.size());
    (void)ignored;
    _exit(0);
  }
  close(pipe_ends[1]);
  std::string report;
  char buffer[256];
  for (ssize_t n; (n = read(pipe_ends[0], buffer, sizeof buffer)) > 0;) report.append(buffer, n);
  close(pipe_ends[0]);
  int child_status = 0;
  waitpid(child, &child_status, 0);
  const size_t newline = report.find('\n');
  if (newline == std::string::npos) return Status::Error(ErrorCode::kNone, "no report");
  const int number = std::stoi(report.substr(0, newline));
  if (number == 0) return Status::Ok();
  return Status::Error(static_cast<ErrorCode>(number), report.substr(newline + 1));
}

TEST(FailedSave, WriteFailureNamesThePathAndReasonAndLeavesNoFile) {
  const std::string long_text(600, 'm');
  const GeneratedGrid big_table = TextGrid(2000, 4, "twenty characters...");
  const GeneratedGrid big_memo = TextGrid(100, 1, long_text);
  const struct {
    const char* what;
    const CellGrid& grid;
    const char* failing_file;
  } cases[] = {
      {"the table", big_table, "t.dbf"},
      {"the memo file", big_memo, "t.dbt"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchFolder folder;
    WriteFile(folder / "t.dbf", "earlier table");
    const Status status = SaveWithFileSizeLimit(c.grid, folder / "t.dbf", 16384);
    EXPECT_EQ(status.code(), ErrorCode::kWriteFailed);
    EXPECT_EQ(status.description(),
              "Cannot write " + (folder / c.failing_file).string() + ": File too large");
    EXPECT_EQ(folder.Files(), Files{"t.dbf"});
    EXPECT_EQ(ReadBytes(folder / "t.dbf"), "earlier table");
  }
}
#endif

}  // namespace
}  // namespace dravella::engine::testing
