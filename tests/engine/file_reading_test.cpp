// Workbooks read from disk: files cut short, files cut or replaced after
// they were opened, and DIMENSIONS records that lie about the cells.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <unistd.h>
#include <span>
#include <string>
#include <system_error>
#include <vector>

#include "engine/xls/biff_record_reader.h"
#include "engine/xls/byte_source.h"
#include "tests/engine/reader_test_support.h"

namespace dravella::engine {
namespace {

namespace fs = std::filesystem;
using reader_test::MustOpen;
using reader_test::MustRead;
using reader_test::Show;
using testing::BiffVersion;
using testing::WorkbookBuilder;

class TempFolder {
 public:
  TempFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = fs::temp_directory_path() /
            ("dravella-" + std::string(info->test_suite_name()) + "-" + info->name() + "-" +
             std::to_string(::getpid()));
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TempFolder() { fs::remove_all(path_); }
  fs::path operator/(const std::string& name) const { return path_ / name; }

 private:
  fs::path path_;
};

void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A workbook whose stream spans many sectors, with texts in the shared table.
WorkbookBuilder Numbered(double base) {
  WorkbookBuilder book;
  auto& sheet = book.AddSheet("Data");
  for (uint16_t row = 0; row < 600; ++row) {
    sheet.Number(row, 0, base + row).Text(row, 1, "row " + std::to_string(row));
  }
  return book;
}

TEST(FileReadingTest, FilesCutShortGiveCleanErrorsNamingTheFile) {
  TempFolder folder;
  const std::vector<uint8_t> whole = Numbered(0).Build();
  ASSERT_GT(whole.size(), 8192u);
  for (size_t size : {size_t{0}, size_t{8}, size_t{300}, size_t{511}, size_t{700}, whole.size() / 2,
                      whole.size() - 512, whole.size() - 1}) {
    SCOPED_TRACE("cut to " + std::to_string(size));
    const fs::path path = folder / "cut.xls";
    WriteFile(path, std::vector<uint8_t>(whole.begin(), whole.begin() + static_cast<ptrdiff_t>(size)));
    auto book = WorkbookFile::Open(path);
    Status failure = book.ok() ? Status::Ok() : book.status();
    if (book.ok()) {
      auto sheet = book.value()->worksheet(0);
      if (sheet.ok()) {
        // A cut that only removed padding leaves every cell.
        EXPECT_EQ(Show(sheet.value()->cell(599, 1)), "text \"row 599\"");
        continue;
      }
      failure = sheet.status();
    }
    EXPECT_GT(failure.number(), 0);
    EXPECT_NE(failure.description().find("cut.xls"), std::string::npos) << failure.description();
  }
}

// Worksheets are read from the file when asked for. A file saved over by
// renaming or deleted still reads as opened; one cut or written over in
// place gives an error rather than cells mixed from two versions.
TEST(FileReadingTest, FileChangedAfterOpeningGivesTheOpenedTableOrACleanError) {
  struct Change {
    const char* name;
    void (*apply)(const fs::path& path, const fs::path& other);
    ErrorCode expected;  // kNone: the table as it was opened
  };
  const Change changes[] = {
      // Windows refuses to rename over a file that is open: the table is
      // then the opened one all the more.
      {"saved over by renaming",
       [](const fs::path& path, const fs::path& other) {
         std::error_code refused;
         fs::rename(other, path, refused);
       },
       ErrorCode::kNone},
      {"deleted", [](const fs::path& path, const fs::path&) { fs::remove(path); }, ErrorCode::kNone},
      {"cut to nothing in place", [](const fs::path& path, const fs::path&) { fs::resize_file(path, 0); },
       ErrorCode::kTruncated},
      {"rewritten in place",
       [](const fs::path& path, const fs::path& other) {
         // Through streams: MinGW's copy_file refuses to overwrite.
         std::ifstream in(other, std::ios::binary);
         std::ofstream(path, std::ios::binary | std::ios::trunc) << in.rdbuf();
       },
       ErrorCode::kFileUnreadable},
  };
  TempFolder folder;
  for (const Change& change : changes) {
    SCOPED_TRACE(change.name);
    const fs::path path = folder / "book.xls";
    const fs::path other = folder / "other.xls";
    Numbered(1000).WriteTo(path);
    Numbered(5000).WriteTo(other);
    auto book = WorkbookFile::Open(path);
    ASSERT_TRUE(book.ok()) << book.status().description();
    change.apply(path, other);
    auto sheet = book.value()->worksheet(0);
    if (change.expected == ErrorCode::kNone) {
      ASSERT_TRUE(sheet.ok()) << sheet.status().description();
      EXPECT_EQ(Show(sheet.value()->cell(0, 0)), "number 1000");
      EXPECT_EQ(Show(sheet.value()->cell(599, 0)), "number 1599");
      EXPECT_EQ(Show(sheet.value()->cell(599, 1)), "text \"row 599\"");
    } else {
      ASSERT_FALSE(sheet.ok());
      EXPECT_EQ(sheet.status().code(), change.expected) << sheet.status().description();
      EXPECT_NE(sheet.status().description().find("book.xls"), std::string::npos);
    }
  }
}

// A worksheet is read through a window of a few hundred kilobytes; texts
// split into CONTINUE records must come whole wherever the window ends.
TEST(FileReadingTest, LongTextsAcrossReadingWindowsComeWhole) {
  TempFolder folder;
  WorkbookBuilder book;
  book.SetMaxRecordPayload(700);
  auto& sheet = book.AddSheet("Long");
  auto text_of = [](uint16_t row) {
    std::string text(1500 + row * 37 % 2000, 'a');
    for (size_t i = 0; i < text.size(); i += 97) text[i] = static_cast<char>('A' + (row + i) % 26);
    return text;
  };
  for (uint16_t row = 0; row < 900; ++row) sheet.Label(row, 0, text_of(row)).Number(row, 1, row);
  const fs::path path = folder / "long.xls";
  book.WriteTo(path);
  ASSERT_GT(fs::file_size(path), 3u * 256 * 1024);
  auto opened = WorkbookFile::Open(path);
  ASSERT_TRUE(opened.ok()) << opened.status().description();
  const SheetData& data = MustRead(*opened.value());
  for (uint16_t row = 0; row < 900; ++row) {
    ASSERT_EQ(data.cell(row, 0).text, text_of(row)) << "row " << row;
    ASSERT_EQ(data.cell(row, 1).number, row);
  }
}

// A stream scattered over the file (runs out of order, of odd lengths)
// reads as its pieces put end to end, across any run boundary.
TEST(FileReadingTest, ScatteredStreamReadsAsItsPiecesInOrder) {
  std::vector<uint8_t> file(5000);
  for (size_t i = 0; i < file.size(); ++i) file[i] = static_cast<uint8_t>(i * 131 + i / 256);
  const std::vector<xls::StreamRun> runs = {{3000, 512}, {100, 7}, {4400, 600}, {0, 100}, {1024, 1500}};
  std::vector<uint8_t> expected;
  for (const auto& run : runs) {
    expected.insert(expected.end(), file.begin() + static_cast<ptrdiff_t>(run.file_offset),
                    file.begin() + static_cast<ptrdiff_t>(run.file_offset + run.length));
  }
  const xls::MemorySource source(file);
  const xls::PiecewiseSource stream(source, runs);
  ASSERT_EQ(stream.size(), expected.size());
  for (auto [offset, length] : {std::pair<size_t, size_t>{0, expected.size()}, {510, 4}, {512, 7}, {518, 700},
                                {1119, 100}, {1218, 1501}, {expected.size() - 1, 1}, {expected.size(), 0}}) {
    SCOPED_TRACE(std::to_string(offset) + "+" + std::to_string(length));
    std::vector<uint8_t> out(length);
    ASSERT_TRUE(stream.ReadAt(offset, out).ok());
    EXPECT_TRUE(std::equal(out.begin(), out.end(), expected.begin() + static_cast<ptrdiff_t>(offset)));
  }
  std::vector<uint8_t> past(2);
  EXPECT_EQ(stream.ReadAt(expected.size() - 1, past).code(), ErrorCode::kTruncated);
}

// Counts the bytes asked of a source.
class CountingSource final : public xls::ByteSource {
 public:
  explicit CountingSource(const xls::ByteSource& inner) : inner_(inner) {}
  uint64_t size() const override { return inner_.size(); }
  Status ReadAt(uint64_t offset, std::span<uint8_t> out) const override {
    read_ += out.size();
    return inner_.ReadAt(offset, out);
  }
  uint64_t read() const { return read_; }

 private:
  const xls::ByteSource& inner_;
  mutable uint64_t read_ = 0;
};

void AppendRecord(std::vector<uint8_t>& stream, uint16_t id, size_t length, uint8_t fill) {
  stream.insert(stream.end(), {static_cast<uint8_t>(id), static_cast<uint8_t>(id >> 8),
                               static_cast<uint8_t>(length), static_cast<uint8_t>(length >> 8)});
  stream.insert(stream.end(), length, fill);
}

// A record with a long chain of CONTINUE records (a large shared-string
// table) comes whole, and its bytes are read about once, not once per
// CONTINUE record.
TEST(FileReadingTest, ALongContinueChainIsReadOnce) {
  constexpr uint16_t kSst = 0x00FC;
  constexpr uint16_t kContinue = 0x003C;
  constexpr uint16_t kEof = 0x000A;
  std::vector<uint8_t> stream;
  AppendRecord(stream, kSst, 8224, 1);
  for (int i = 0; i < 400; ++i) AppendRecord(stream, kContinue, 8224, static_cast<uint8_t>(i));
  AppendRecord(stream, kEof, 0, 0);
  const xls::MemorySource memory(stream);
  const CountingSource counting(memory);
  xls::BiffRecordReader reader(counting);
  xls::BiffRecord record;
  ASSERT_TRUE(reader.Next(&record));
  EXPECT_EQ(record.id, kSst);
  const std::vector<xls::Bytes> pieces = reader.TakeContinues();
  ASSERT_EQ(pieces.size(), 400u);
  EXPECT_EQ(pieces.back()[8223], static_cast<uint8_t>(399));
  ASSERT_TRUE(reader.Next(&record));
  EXPECT_EQ(record.id, kEof);
  EXPECT_LT(counting.read(), 2 * stream.size()) << "bytes read for a stream of " << stream.size();
}

TEST(FileReadingTest, ReadsPastAFileCutWhileOpenAreTruncationErrors) {
  TempFolder folder;
  const fs::path path = folder / "data.bin";
  WriteFile(path, std::vector<uint8_t>(10000, 0x5A));
  auto source = xls::FileSource::Open(path);
  ASSERT_TRUE(source.ok()) << source.status().description();
  fs::resize_file(path, 4000);
  std::vector<uint8_t> out(1000);
  EXPECT_TRUE(source.value()->ReadAt(3000, out).ok());
  EXPECT_EQ(out.back(), 0x5A);
  const Status cut = source.value()->ReadAt(3500, out);
  EXPECT_EQ(cut.code(), ErrorCode::kTruncated);
  EXPECT_NE(cut.description().find("shorter"), std::string::npos) << cut.description();

  EXPECT_EQ(xls::FileSource::Open(folder / "missing.bin").status().code(), ErrorCode::kFileUnreadable);
  EXPECT_EQ(xls::FileSource::Open(folder / "").status().code(), ErrorCode::kFileUnreadable);
}

TEST(FileReadingTest, DimensionsOnlySizeTheStoreAndNeverDecideTheCells) {
  struct Case {
    const char* name;
    BiffVersion version;
    uint32_t first_row, end_row;
    uint16_t first_column, end_column;
    uint16_t cell_rows;  // cells in column 2 of rows 3 .. 3 + cell_rows - 1
  };
  const Case cases[] = {
      {"every cell of a BIFF8 sheet, one stored", BiffVersion::kBiff8, 0, 65536, 0, 256, 1},
      {"every cell of a BIFF5 sheet, one stored", BiffVersion::kBiff5, 0, 65535, 0, 256, 1},
      {"fewer cells than stored", BiffVersion::kBiff8, 3, 4, 2, 3, 500},
      {"rows reversed", BiffVersion::kBiff8, 900, 3, 0, 10, 20},
      {"no rows at all", BiffVersion::kBiff5, 0, 0, 0, 0, 20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WorkbookBuilder book(c.version);
    auto& sheet = book.AddSheet("S").SetDimensions(c.first_row, c.end_row, c.first_column, c.end_column);
    for (uint16_t i = 0; i < c.cell_rows; ++i) sheet.Number(3 + i, 2, i + 0.5);
    auto opened = MustOpen(book);
    const SheetData& data = MustRead(*opened);
    EXPECT_EQ(Show(data.used_range()), "3,2.." + std::to_string(2 + c.cell_rows) + ",2");
    EXPECT_EQ(data.stored_cell_count(), c.cell_rows);
    EXPECT_EQ(Show(data.cell(3, 2)), "number 0.5");
    EXPECT_EQ(Show(data.cell(2 + c.cell_rows, 2)), "number " + std::to_string(c.cell_rows - 1) + ".5");
    EXPECT_EQ(Show(data.cell(3 + c.cell_rows, 2)), "empty");
  }
}

}  // namespace
}  // namespace dravella::engine
