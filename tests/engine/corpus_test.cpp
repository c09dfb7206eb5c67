// Every file of the shared corpus (real workbooks from other programs, some
// damaged on purpose) opens and reads to a result or a clean error. Skipped
// when ../shared/corpus is not beside the repository.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "engine/xls/workbook_file.h"

namespace dravella::engine {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> CorpusFiles() {
  std::vector<fs::path> files;
  const fs::path root = DRAVELLA_CORPUS_DIR;
  std::error_code error;
  if (!fs::is_directory(root, error)) return files;
  for (const auto& entry : fs::recursive_directory_iterator(root, error)) {
    if (entry.is_regular_file() && entry.path().extension() != ".md") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

void ExpectCleanError(const Status& status, const fs::path& file) {
  EXPECT_GT(status.number(), 0) << file;
  EXPECT_NE(status.description().find(file.string()), std::string::npos) << status.description();
}

TEST(CorpusTest, EveryFileGivesAResultOrACleanError) {
  const std::vector<fs::path> files = CorpusFiles();
  if (files.empty()) GTEST_SKIP() << "no corpus at " << DRAVELLA_CORPUS_DIR;

  size_t opened = 0;
  size_t sheets_read = 0;
  std::map<ErrorCode, size_t> refusals;
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.string());
    auto book = WorkbookFile::Open(file);
    if (!book.ok()) {
      ExpectCleanError(book.status(), file);
      ++refusals[book.status().code()];
      continue;
    }
    ++opened;
    for (size_t i = 0; i < book.value()->worksheet_count(); ++i) {
      auto sheet = book.value()->worksheet(i);
      if (!sheet.ok()) {
        ExpectCleanError(sheet.status(), file);
        continue;
      }
      ++sheets_read;
      const CellRange range = sheet.value()->used_range();
      ASSERT_LE(range.first_row, range.last_row);
      ASSERT_LE(range.first_column, range.last_column);
      for (uint32_t row = range.first_row; row <= range.last_row; ++row) {
        for (uint32_t column = range.first_column; column <= range.last_column; ++column) {
          const CellValue value = sheet.value()->cell(row, column);
          if (value.kind == CellKind::kText) {
            ASSERT_FALSE(value.text.empty());
          }
        }
      }
    }
  }
  std::string summary;
  for (const auto& [code, count] : refusals) {
    summary += " " + std::string(ErrorCodeInfo(code).name) + "=" + std::to_string(count);
  }
  std::printf("corpus: %zu files, %zu opened, %zu worksheets read; refused:%s\n", files.size(), opened, sheets_read,
              summary.c_str());
}

TEST(CorpusTest, KnownFilesGiveTheirKnownAnswers) {
  const fs::path root = DRAVELLA_CORPUS_DIR;
  if (!fs::is_directory(root)) GTEST_SKIP() << "no corpus at " << DRAVELLA_CORPUS_DIR;
  const struct {
    const char* file;
    ErrorCode code;
  } refusals[] = {
      {"sheetjs/password_2002_40_xor.xls", ErrorCode::kEncrypted},
      {"sheetjs/biff5_password_2002_40_xor.xls", ErrorCode::kEncrypted},
      {"sheetjs/password_2002_128_strong.xls", ErrorCode::kEncrypted},
      {"sheetjs/large_strings.xls", ErrorCode::kNotAWorkbook},  // an empty file
  };
  for (const auto& r : refusals) {
    if (!fs::exists(root / r.file)) continue;
    auto book = WorkbookFile::Open(root / r.file);
    ASSERT_FALSE(book.ok()) << r.file;
    EXPECT_EQ(book.status().code(), r.code) << book.status().description();
  }
  const fs::path biff2 = root / "sheetjs/crlf_CRLFX5_2.XLS";
  if (fs::exists(biff2)) {
    auto book = WorkbookFile::Open(biff2);
    ASSERT_TRUE(book.ok()) << book.status().description();
    ASSERT_EQ(book.value()->worksheet_count(), 1u);
    EXPECT_EQ(book.value()->worksheet_name(0), "crlf_CRLFX5_2");
    auto sheet = book.value()->worksheet(0);
    ASSERT_TRUE(sheet.ok());
    EXPECT_EQ(sheet.value()->cell(1, 1).text, "abc\r\ndef");
  }
}

}  // namespace
}  // namespace dravella::engine
