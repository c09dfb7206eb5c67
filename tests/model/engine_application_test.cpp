// The engine's application driven the way the converters drive it, on
// workbooks made by the test builder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "engine/automation_error.h"
#include "engine/object_model.h"
#include "tests/core/temp_folder.h"
#include "tests/support/xls_builder.h"

namespace dravella::engine {
namespace {

namespace fs = std::filesystem;
using dravella::testing::TempFolder;
using dravella::testing::WorkbookBuilder;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

struct TableShape {
  uint32_t records;
  uint32_t fields;
};

// Records and fields of a dBASE III/IV table, from its header.
TableShape ShapeOf(const std::string& path) {
  const std::string bytes = ReadFile(path);
  EXPECT_GE(bytes.size(), 32u);
  auto u8 = [&](size_t i) { return static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])); };
  const uint32_t records = u8(4) | u8(5) << 8 | u8(6) << 16 | u8(7) << 24;
  const uint32_t header = u8(8) | u8(9) << 8;
  return {records, (header - 33) / 32};
}

// Expects the call to throw an AutomationError with this number.
template <typename Call>
std::string ExpectError(Call call, ErrorCode code) {
  try {
    call();
  } catch (const AutomationError& error) {
    EXPECT_EQ(error.number(), static_cast<int32_t>(code)) << error.description();
    EXPECT_GT(error.number(), 0);
    return error.description();
  }
  ADD_FAILURE() << "no error";
  return {};
}

class EngineApplicationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WorkbookBuilder book;
    auto& data = book.AddSheet("Data");
    // The used range is B2:D5; row 2 holds the field names.
    data.Text(1, 1, "Id").Text(1, 2, "Name").Text(1, 3, "Amount");
    for (uint16_t r = 2; r <= 4; ++r) {
      data.Number(r, 1, r).Text(r, 2, "n" + std::to_string(r)).Number(r, 3, r * 1.5);
    }
    book.AddSheet("Empty");
    book.AddSheet("Lonely").Number(4, 4, 7);  // one value in E5, A1 empty
    book.AddSheet("Chart", dravella::testing::SheetKind::kChart);
    path_ = folder_ / "book.xls";
    book.WriteTo(path_);
    application_ = EngineApplicationFactory().CreateObject(kApplicationClass);
    workbook_ = application_->WorkbooksOpen(path_);
    application_->SetDisplayAlerts(false);
  }

  TempFolder folder_;
  std::string path_;
  std::shared_ptr<Application> application_;
  std::shared_ptr<Workbook> workbook_;
};

TEST_F(EngineApplicationTest, ListsWorksheetsButNotChartSheets) {
  ASSERT_EQ(workbook_->WorksheetsCount(), 3);
  EXPECT_EQ(workbook_->Worksheets(1)->Name(), "Data");
  EXPECT_EQ(workbook_->Worksheets(3)->Name(), "Lonely");
  ExpectError([&] { workbook_->Worksheets(4); }, ErrorCode::kBadIndex);
  ExpectError([&] { workbook_->Worksheets(0); }, ErrorCode::kBadIndex);
}

TEST_F(EngineApplicationTest, UsedRangeGivesSizeAddressesAndValues) {
  auto data = workbook_->Worksheets(1);
  auto used = data->UsedRange();
  EXPECT_EQ(used->RowsCount(), 4);
  EXPECT_EQ(used->ColumnsCount(), 3);
  EXPECT_EQ(used->Cells(1, 1)->Address(), "$B$2");
  EXPECT_EQ(used->Cells(4, 3)->Address(), "$D$5");
  EXPECT_EQ(used->Cells(1, 2)->Value().text, "Name");
  EXPECT_EQ(data->Cells(1, 1)->Value().kind, CellKind::kEmpty);

  auto empty = workbook_->Worksheets(2)->UsedRange();
  EXPECT_EQ(empty->RowsCount(), 1);
  EXPECT_EQ(empty->ColumnsCount(), 1);
  EXPECT_EQ(empty->Cells(1, 1)->Address(), "$A$1");

  auto lonely = workbook_->Worksheets(3);
  EXPECT_EQ(lonely->UsedRange()->Cells(1, 1)->Address(), "$E$5");
  EXPECT_EQ(lonely->UsedRange()->Cells(1, 1)->Value().number, 7);
  EXPECT_EQ(lonely->Cells(1, 1)->Value().kind, CellKind::kEmpty);
}

TEST_F(EngineApplicationTest, SaveAsWritesTheSelectionOrElseTheUsedRange) {
  auto data = workbook_->Worksheets(1);
  const std::string whole = folder_ / "whole.dbf";
  data->SaveAs(whole, kFileFormatDbase3);
  EXPECT_EQ(ShapeOf(whole).records, 3u);
  EXPECT_EQ(ShapeOf(whole).fields, 3u);

  const std::string part = folder_ / "part.dbf";
  data->RangeOf("$C$2", "$D$3")->Select();
  data->SaveAs(part, kFileFormatDbase4);
  EXPECT_EQ(ShapeOf(part).records, 1u);
  EXPECT_EQ(ShapeOf(part).fields, 2u);
  EXPECT_EQ(ReadFile(part)[0], '\x03');
}

// A saved worksheet's cells are released when another one is activated; a
// later use reads them again, with the same result, selection kept.
TEST_F(EngineApplicationTest, ASavedWorksheetReadsAgainAfterAnotherWasActivated) {
  auto data = workbook_->Worksheets(1);
  auto lonely = workbook_->Worksheets(3);
  data->Activate();
  data->RangeOf("$B$2", "$C$4")->Select();
  data->SaveAs(folder_ / "first.dbf", kFileFormatDbase3);
  lonely->Activate();
  lonely->SaveAs(folder_ / "lonely.dbf", kFileFormatDbase3);
  data->Activate();
  EXPECT_EQ(data->UsedRange()->Cells(2, 2)->Value().text, "n2");
  data->SaveAs(folder_ / "again.dbf", kFileFormatDbase3);
  EXPECT_EQ(ReadFile(folder_ / "again.dbf").substr(32), ReadFile(folder_ / "first.dbf").substr(32));
  EXPECT_EQ(ShapeOf(folder_ / "again.dbf").fields, 2u);
}

TEST_F(EngineApplicationTest, SaveAsCountsCharactersWrittenAsQuestionMarks) {
  WorkbookBuilder book;
  book.AddSheet("Names").Text(0, 0, "Name").Text(1, 0, "Жук");
  book.AddSheet("Plain").Text(0, 0, "Name").Text(1, 0, "ok");
  book.WriteTo(folder_ / "names.xls");
  auto names = application_->WorkbooksOpen(folder_ / "names.xls");
  auto cyrillic = names->Worksheets(1);
  EXPECT_EQ(cyrillic->LastSaveReplacedCharacters(), 0);  // nothing saved yet
  cyrillic->SaveAs(folder_ / "names.dbf", kFileFormatDbase3);
  EXPECT_EQ(cyrillic->LastSaveReplacedCharacters(), 3);
  EXPECT_EQ(names->Worksheets(2)->LastSaveReplacedCharacters(), 0);
  application_->SetTableCodePage("1251");
  cyrillic->SaveAs(folder_ / "names.dbf", kFileFormatDbase3);
  EXPECT_EQ(cyrillic->LastSaveReplacedCharacters(), 0);
}

TEST_F(EngineApplicationTest, SaveAsRefusesUnknownFormatsAndLeavesNoFile) {
  const std::string target = folder_ / "t.dbf";
  for (int32_t code : {0, 6, 9, 10, 12, 51, -1}) {
    const std::string text =
        ExpectError([&] { workbook_->Worksheets(1)->SaveAs(target, code); }, ErrorCode::kBadFileFormat);
    EXPECT_NE(text.find(std::to_string(code)), std::string::npos) << text;
  }
  EXPECT_FALSE(fs::exists(target));
}

TEST_F(EngineApplicationTest, AlertsDecideWhetherAnExistingFileIsReplaced) {
  const std::string target = folder_.WriteFile("t.dbf", "old");
  application_->SetDisplayAlerts(true);
  ExpectError([&] { workbook_->Worksheets(1)->SaveAs(target, kFileFormatDbase3); },
              ErrorCode::kWriteFailed);
  EXPECT_EQ(ReadFile(target), "old");
  application_->SetDisplayAlerts(false);
  workbook_->Worksheets(1)->SaveAs(target, kFileFormatDbase3);
  EXPECT_EQ(ShapeOf(target).records, 3u);
}

TEST_F(EngineApplicationTest, CodePageIsAnApplicationProperty) {
  application_->SetTableCodePage("utf8");
  const std::string target = folder_ / "u.dbf";
  workbook_->Worksheets(1)->SaveAs(target, kFileFormatDbase4);
  EXPECT_EQ(ReadFile(folder_ / "u.cpg"), "UTF-8");
  ExpectError([&] { application_->SetTableCodePage("1258"); }, ErrorCode::kBadCodePage);
}

TEST_F(EngineApplicationTest, LimitsOfTheLevelFailTheSaveWithTheirText) {
  WorkbookBuilder wide;
  auto& sheet = wide.AddSheet("Wide");
  for (uint16_t c = 0; c < 40; ++c) sheet.Number(0, c, c).Number(1, c, c);
  const std::string wide_path = folder_ / "wide.xls";
  wide.WriteTo(wide_path);
  auto book = application_->WorkbooksOpen(wide_path);
  const std::string target = folder_ / "wide.dbf";
  const std::string text =
      ExpectError([&] { book->Worksheets(1)->SaveAs(target, kFileFormatDbase2); },
                  ErrorCode::kTooManyFields);
  EXPECT_NE(text.find("40 columns"), std::string::npos) << text;
  EXPECT_NE(text.find("32"), std::string::npos) << text;
  EXPECT_FALSE(fs::exists(target));
}

TEST_F(EngineApplicationTest, ClosedAndQuitObjectsRefuseCalls) {
  auto sheet = workbook_->Worksheets(1);
  workbook_->Close();
  ExpectError([&] { sheet->Name(); }, ErrorCode::kNotOpen);
  ExpectError([&] { workbook_->WorksheetsCount(); }, ErrorCode::kNotOpen);
  application_->Quit();
  ExpectError([&] { application_->WorkbooksOpen(path_); }, ErrorCode::kNotOpen);
}

TEST(EngineApplicationFactoryTest, OpenErrorsCarryNumberAndFileName) {
  TempFolder folder;
  auto application = EngineApplicationFactory().CreateObject(kApplicationClass);
  const std::string text_file = folder.WriteFile("notes.xls", "a,b,c\n1,2,3\n");
  const std::string description =
      ExpectError([&] { application->WorkbooksOpen(text_file); }, ErrorCode::kNotAWorkbook);
  EXPECT_NE(description.find("notes.xls"), std::string::npos) << description;
  ExpectError([&] { application->WorkbooksOpen(folder / "missing.xls"); }, ErrorCode::kFileNotFound);
  ExpectError([&] { EngineApplicationFactory().CreateObject("Word.Application"); },
              ErrorCode::kServerUnavailable);
}

}  // namespace
}  // namespace dravella::engine
