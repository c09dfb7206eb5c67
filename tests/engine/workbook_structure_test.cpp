// Which worksheets a workbook has and what they are called, the date system,
// and when cells are read: opening reads the globals only; a worksheet's
// cells are read the first time it is asked for, then kept.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/engine/reader_test_support.h"

namespace dravella::engine {
namespace {

using reader_test::MustOpen;
using reader_test::MustRead;
using reader_test::Show;
using testing::BiffVersion;
using testing::CfbVersion;
using testing::SheetKind;
using testing::SheetVisibility;
using testing::WorkbookBuilder;

std::vector<std::string> Names(const WorkbookFile& book) {
  std::vector<std::string> names;
  for (size_t i = 0; i < book.worksheet_count(); ++i) names.push_back(book.worksheet_name(i));
  return names;
}

TEST(WorkbookStructureTest, WorksheetsAreTheWorksheetEntriesHiddenOnesIncluded) {
  for (BiffVersion version : {BiffVersion::kBiff5, BiffVersion::kBiff8}) {
    WorkbookBuilder book(version);
    book.AddSheet("First").Number(0, 0, 1);
    book.AddSheet("Chart1", SheetKind::kChart);
    book.AddSheet("Hidden", SheetKind::kWorksheet, SheetVisibility::kHidden).Number(0, 0, 2);
    book.AddSheet("Macro1", SheetKind::kMacroSheet).Number(0, 0, 9);
    book.AddSheet("Module1", SheetKind::kVbaModule);
    book.AddSheet("VeryHidden", SheetKind::kWorksheet, SheetVisibility::kVeryHidden).Number(0, 0, 3);
    auto file = MustOpen(book);
    EXPECT_EQ(Names(*file), (std::vector<std::string>{"First", "Hidden", "VeryHidden"}));
    // Each name's cells are its own sheet's.
    EXPECT_EQ(Show(MustRead(*file, 1).cell(0, 0)), "number 2");
    EXPECT_EQ(Show(MustRead(*file, 2).cell(0, 0)), "number 3");
  }
}

TEST(WorkbookStructureTest, UnicodeSheetNames) {
  WorkbookBuilder book;
  book.AddSheet("Données 2024");
  book.AddSheet("売上");
  book.AddSheet("Лист 😀");
  auto file = MustOpen(book);
  EXPECT_EQ(Names(*file), (std::vector<std::string>{"Données 2024", "売上", "Лист 😀"}));
}

TEST(WorkbookStructureTest, SingleWorksheetFilesAreNamedAfterTheFile) {
  for (BiffVersion version : {BiffVersion::kBiff2, BiffVersion::kBiff3, BiffVersion::kBiff4}) {
    WorkbookBuilder book(version);
    book.AddSheet("ignored").Number(0, 0, 7);
    auto file = MustOpen(book, "/data/Sales 2019.final.xls");
    EXPECT_EQ(Names(*file), std::vector<std::string>{"Sales 2019.final"});
    EXPECT_EQ(Show(MustRead(*file).cell(0, 0)), "number 7");
  }
}

TEST(WorkbookStructureTest, Biff4WorkbookSheetsHaveTheirOwnFormats) {
  WorkbookBuilder book(BiffVersion::kBiff4Workbook);
  const uint16_t date = book.DateXf();
  book.AddSheet("Alpha").Number(0, 0, 40000, date).Text(1, 0, "a");
  book.AddSheet("Graph", SheetKind::kChart);
  book.AddSheet("Beta").Number(0, 0, 40000).Text(2, 3, "b");
  auto file = MustOpen(book);
  EXPECT_EQ(Names(*file), (std::vector<std::string>{"Alpha", "Beta"}));
  EXPECT_EQ(Show(MustRead(*file, 0).cell(0, 0)), "date 40000");
  EXPECT_EQ(Show(MustRead(*file, 1).cell(0, 0)), "number 40000");
  EXPECT_EQ(Show(MustRead(*file, 1).used_range()), "0,0..2,3");
}

TEST(WorkbookStructureTest, ContainerVariantsAllRead) {
  struct Variant {
    const char* name;
    std::function<void(WorkbookBuilder&)> apply;
  } variants[] = {
      {"version 4 container", [](WorkbookBuilder& b) { b.SetCompoundFileVersion(CfbVersion::k4); }},
      {"BIFF8 in a \"Book\" stream", [](WorkbookBuilder& b) { b.SetStreamName("Book"); }},
      {"stream name in capitals", [](WorkbookBuilder& b) { b.SetStreamName("WORKBOOK"); }},
      {"other streams beside it", [](WorkbookBuilder& b) {
         b.AddStream("\x05SummaryInformation", std::vector<uint8_t>(200, 1));
         b.AddStream("Ctls", std::vector<uint8_t>(5000, 2));
       }},
      {"small stream in the mini stream", [](WorkbookBuilder& b) { b.PadStreamTo(0); }},
      {"padded stream", [](WorkbookBuilder& b) { b.PadStreamTo(20000); }},
      {"bare BIFF8 stream", [](WorkbookBuilder& b) { b.SetPlainStream(); }},
  };
  for (const Variant& v : variants) {
    WorkbookBuilder book;
    book.AddSheet("S").Text(0, 0, "x").Number(1, 1, 2);
    v.apply(book);
    auto opened = reader_test::OpenBuilt(book);
    ASSERT_TRUE(opened.ok()) << v.name << ": " << opened.status().description();
    EXPECT_EQ(Show(MustRead(*opened.value()).cell(0, 0)), "text \"x\"") << v.name;
  }
}

TEST(WorkbookStructureTest, WorkbookStreamIsPreferredToBookStream) {
  WorkbookBuilder old_copy(BiffVersion::kBiff5);
  old_copy.AddSheet("Old").Number(0, 0, 5);
  WorkbookBuilder book;
  book.AddSheet("New").Number(0, 0, 8);
  book.AddStream("Book", old_copy.BuildStream());
  auto file = MustOpen(book);
  EXPECT_EQ(Names(*file), std::vector<std::string>{"New"});
}

TEST(WorkbookStructureTest, OpeningReadsNoCellRecord) {
  // The second worksheet's cells are damaged: opening and listing the names
  // do not notice; reading that worksheet does, and keeps saying so.
  WorkbookBuilder book;
  book.AddSheet("Good").Number(0, 0, 1);
  book.AddSheet("Bad").Number(0, 0, 1).SharedStringCell(1, 0, 500);
  auto opened = reader_test::OpenBuilt(book, "lazy.xls");
  ASSERT_TRUE(opened.ok()) << opened.status().description();
  WorkbookFile& file = *opened.value();
  EXPECT_EQ(Names(file), (std::vector<std::string>{"Good", "Bad"}));
  auto good = file.worksheet(0);
  ASSERT_TRUE(good.ok());
  EXPECT_EQ(file.worksheet(0).value(), good.value()) << "read once, then kept";
  for (int attempt = 0; attempt < 2; ++attempt) {
    auto bad = file.worksheet(1);
    ASSERT_FALSE(bad.ok());
    EXPECT_EQ(bad.status().code(), ErrorCode::kDamaged);
    EXPECT_NE(bad.status().description().find("lazy.xls"), std::string::npos) << bad.status().description();
  }
}

TEST(WorkbookStructureTest, IndexOutsideTheWorksheets) {
  WorkbookBuilder book;
  book.AddSheet("Only");
  auto file = MustOpen(book);
  EXPECT_EQ(file->worksheet_name(1), "");
  auto sheet = file->worksheet(1);
  ASSERT_FALSE(sheet.ok());
  EXPECT_EQ(sheet.status().code(), ErrorCode::kBadIndex);
}

TEST(WorkbookStructureTest, WorkbookWithoutWorksheets) {
  WorkbookBuilder book;
  book.AddSheet("Chart1", SheetKind::kChart);
  auto file = MustOpen(book);
  EXPECT_EQ(file->worksheet_count(), 0u);
}

class WorkbookFileOpenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("reader_open_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::filesystem::path dir_;
};

TEST_F(WorkbookFileOpenTest, OpensAFileFromDisk) {
  WorkbookBuilder book(BiffVersion::kBiff3);
  book.AddSheet("x").Text(0, 0, "on disk");
  const auto path = dir_ / "Quarterly report.xls";
  book.WriteTo(path);
  auto file = WorkbookFile::Open(path);
  ASSERT_TRUE(file.ok()) << file.status().description();
  EXPECT_EQ(file.value()->worksheet_name(0), "Quarterly report");
  EXPECT_EQ(MustRead(*file.value()).cell(0, 0).text, "on disk");
}

TEST_F(WorkbookFileOpenTest, MissingFilesAndFoldersAreErrorsThatNameThePath) {
  const struct {
    std::filesystem::path path;
    ErrorCode code;
  } cases[] = {{dir_ / "missing.xls", ErrorCode::kFileNotFound}, {dir_, ErrorCode::kFileUnreadable}};
  for (const auto& c : cases) {
    auto file = WorkbookFile::Open(c.path);
    ASSERT_FALSE(file.ok());
    EXPECT_EQ(file.status().code(), c.code);
    EXPECT_GT(file.status().number(), 0);
    EXPECT_NE(file.status().description().find(c.path.string()), std::string::npos) << file.status().description();
  }
}

}  // namespace
}  // namespace dravella::engine
