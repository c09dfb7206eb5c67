// Each cell record of each BIFF version gives the cell kind and value the
// output rules name, and the used range counts every cell record.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/engine/reader_test_support.h"

namespace dravella::engine {
namespace {

using reader_test::MustOpen;
using reader_test::MustRead;
using reader_test::Show;
using testing::BiffVersion;
using testing::CellError;
using testing::FormattingRun;
using testing::FormulaOptions;
using testing::FormulaTail;
using testing::RkForm;
using testing::SheetBuilder;
using testing::WorkbookBuilder;

const char* VersionName(BiffVersion v) {
  switch (v) {
    case BiffVersion::kBiff2: return "Biff2";
    case BiffVersion::kBiff3: return "Biff3";
    case BiffVersion::kBiff4: return "Biff4";
    case BiffVersion::kBiff4Workbook: return "Biff4Workbook";
    case BiffVersion::kBiff5: return "Biff5";
    case BiffVersion::kBiff8: return "Biff8";
  }
  return "?";
}

const BiffVersion kAllVersions[] = {BiffVersion::kBiff2, BiffVersion::kBiff3,         BiffVersion::kBiff4,
                                    BiffVersion::kBiff4Workbook, BiffVersion::kBiff5, BiffVersion::kBiff8};

// One record written into cell B3 and what reading B3 must give.
struct CellCase {
  const char* name;
  BiffVersion first_version;  // the record exists from this version on
  std::function<void(SheetBuilder&)> write;
  std::string expected;
};

const CellCase kCellCases[] = {
    {"Number", BiffVersion::kBiff2, [](SheetBuilder& s) { s.Number(2, 1, -1234.5678); }, "number -1234.5678"},
    {"NumberKeepsFullPrecision", BiffVersion::kBiff2, [](SheetBuilder& s) { s.Number(2, 1, 0.1 + 0.2); },
     "number 0.30000000000000004"},
    {"RkInteger", BiffVersion::kBiff3, [](SheetBuilder& s) { s.Rk(2, 1, -536870912, RkForm::kInteger); },
     "number -536870912"},
    {"RkFloat", BiffVersion::kBiff3, [](SheetBuilder& s) { s.Rk(2, 1, 0.25, RkForm::kFloat); }, "number 0.25"},
    {"RkIntegerX100", BiffVersion::kBiff3, [](SheetBuilder& s) { s.Rk(2, 1, 12.34, RkForm::kIntegerX100); },
     "number 12.34"},
    {"RkFloatX100", BiffVersion::kBiff3, [](SheetBuilder& s) { s.RkRaw(2, 1, 0x3FF00001); }, "number 0.01"},
    {"Text", BiffVersion::kBiff2, [](SheetBuilder& s) { s.Text(2, 1, "  two\r\nlines\t"); },
     "text \"  two\r\nlines\t\""},
    {"Label", BiffVersion::kBiff2, [](SheetBuilder& s) { s.Label(2, 1, "label"); }, "text \"label\""},
    {"RichText", BiffVersion::kBiff5,
     [](SheetBuilder& s) {
       const FormattingRun runs[] = {{0, 1}, {3, 2}};
       s.RichText(2, 1, "rich text", runs);
     },
     "text \"rich text\""},
    {"BooleanTrue", BiffVersion::kBiff2, [](SheetBuilder& s) { s.Boolean(2, 1, true); }, "boolean TRUE"},
    {"BooleanFalse", BiffVersion::kBiff2, [](SheetBuilder& s) { s.Boolean(2, 1, false); }, "boolean FALSE"},
    {"Error", BiffVersion::kBiff2, [](SheetBuilder& s) { s.Error(2, 1, CellError::kNA); }, "error 42"},
    {"ErrorNull", BiffVersion::kBiff2, [](SheetBuilder& s) { s.Error(2, 1, CellError::kNull); }, "error 0"},
    {"Blank", BiffVersion::kBiff2, [](SheetBuilder& s) { s.Blank(2, 1); }, "empty"},
    {"EmptyText", BiffVersion::kBiff2, [](SheetBuilder& s) { s.Text(2, 1, ""); }, "empty"},
    {"FormulaNumber", BiffVersion::kBiff2, [](SheetBuilder& s) { s.FormulaNumber(2, 1, 6.02e23); },
     "number 6.02e+23"},
    {"FormulaText", BiffVersion::kBiff2, [](SheetBuilder& s) { s.FormulaText(2, 1, "from STRING"); },
     "text \"from STRING\""},
    {"FormulaBoolean", BiffVersion::kBiff2, [](SheetBuilder& s) { s.FormulaBoolean(2, 1, true); }, "boolean TRUE"},
    {"FormulaError", BiffVersion::kBiff2, [](SheetBuilder& s) { s.FormulaError(2, 1, CellError::kDiv0); },
     "error 7"},
    {"FormulaEmptyText", BiffVersion::kBiff2, [](SheetBuilder& s) { s.FormulaEmptyText(2, 1); }, "empty"},
    {"SharedFormulaText", BiffVersion::kBiff5,
     [](SheetBuilder& s) {
       FormulaOptions shared;
       shared.tail = FormulaTail::kSharedFormula;
       s.FormulaText(2, 1, "shared", shared);
     },
     "text \"shared\""},
    {"ArrayFormulaText", BiffVersion::kBiff5,
     [](SheetBuilder& s) {
       FormulaOptions array;
       array.tail = FormulaTail::kArray;
       s.FormulaText(2, 1, "array", array);
     },
     "text \"array\""},
    {"ArrayFormulaNumber", BiffVersion::kBiff5,
     [](SheetBuilder& s) {
       FormulaOptions array;
       array.tail = FormulaTail::kArray;
       s.FormulaNumber(2, 1, 3, array);
     },
     "number 3"},
    {"LaterRecordReplacesEarlier", BiffVersion::kBiff2,
     [](SheetBuilder& s) { s.Number(2, 1, 1).Text(2, 1, "second"); }, "text \"second\""},
};

// Test listings name the case, not its bytes.
void PrintTo(const CellCase& c, std::ostream* out) { *out << c.name; }

using CellParam = std::tuple<CellCase, BiffVersion>;
class CellRecordTest : public ::testing::TestWithParam<CellParam> {};

TEST_P(CellRecordTest, GivesKindAndValue) {
  const auto& [c, version] = GetParam();
  WorkbookBuilder book(version);
  SheetBuilder& sheet = book.AddSheet("Sheet1");
  sheet.Number(0, 0, 0);  // A1, so the used range shows B3 as its corner
  c.write(sheet);
  auto file = MustOpen(book);
  const SheetData& data = MustRead(*file);
  EXPECT_EQ(Show(data.cell(2, 1)), c.expected);
  EXPECT_EQ(Show(data.used_range()), "0,0..2,1") << "every cell record counts, blanks and empty texts too";
  EXPECT_EQ(Show(data.cell(2, 2)), "empty");
}

// Every case in every version that has its record.
std::vector<CellParam> CasesAndVersions() {
  std::vector<CellParam> params;
  for (const CellCase& c : kCellCases) {
    for (BiffVersion version : kAllVersions) {
      if (version >= c.first_version) params.emplace_back(c, version);
    }
  }
  return params;
}

INSTANTIATE_TEST_SUITE_P(AllVersions, CellRecordTest, ::testing::ValuesIn(CasesAndVersions()),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) + "_" +
                                  VersionName(std::get<1>(info.param));
                         });

TEST(CellRecordTest, IntegerOfBiff2IsUnsigned) {
  WorkbookBuilder book(BiffVersion::kBiff2);
  book.AddSheet("S").Integer(0, 0, 65535).Integer(0, 1, 0);
  auto file = MustOpen(book);
  EXPECT_EQ(Show(MustRead(*file).cell(0, 0)), "number 65535");
  EXPECT_EQ(Show(MustRead(*file).cell(0, 1)), "number 0");
}

TEST(CellRecordTest, MulRkAndMulBlankCoverTheirColumns) {
  for (BiffVersion version : {BiffVersion::kBiff5, BiffVersion::kBiff8}) {
    WorkbookBuilder book(version);
    const double values[] = {1, -2.5, 1024.75, 0.07};
    book.AddSheet("S").MulRk(4, 250, std::vector<double>(values, values + 3)).MulBlank(9, 2, 6).MulRk(
        5, 0, std::vector<double>(values + 2, values + 4));
    auto file = MustOpen(book);
    const SheetData& data = MustRead(*file);
    EXPECT_EQ(Show(data.cell(4, 250)), "number 1");
    EXPECT_EQ(Show(data.cell(4, 251)), "number -2.5");
    EXPECT_EQ(Show(data.cell(4, 252)), "number 1024.75");
    EXPECT_EQ(Show(data.cell(5, 1)), "number 0.070000000000000007");
    EXPECT_EQ(Show(data.cell(9, 4)), "empty");
    EXPECT_EQ(Show(data.used_range()), "4,0..9,252") << VersionName(version);
  }
}

TEST(CellRecordTest, UsedRangeIsTheBoundingBoxOfCellRecords) {
  struct Case {
    const char* name;
    std::function<void(SheetBuilder&)> write;
    const char* range;
  } cases[] = {
      {"NoCellRecord", [](SheetBuilder&) {}, "0,0..0,0"},
      {"OneCellAwayFromA1", [](SheetBuilder& s) { s.Number(6, 3, 1); }, "6,3..6,3"},
      {"OnlyBlanks", [](SheetBuilder& s) { s.Blank(1, 1).Blank(3, 7); }, "1,1..3,7"},
      {"OnlyEmptyTexts", [](SheetBuilder& s) { s.Text(2, 2, "").FormulaEmptyText(5, 0); }, "2,0..5,2"},
      {"LastRowAndColumn", [](SheetBuilder& s) { s.Number(65535, 255, 1).Text(0, 0, "a"); }, "0,0..65535,255"},
      {"LyingDimensions",
       [](SheetBuilder& s) { s.Number(3, 3, 1).SetDimensions(0, 60000, 0, 200); }, "3,3..3,3"},
      {"DimensionsTooSmall",
       [](SheetBuilder& s) { s.Number(3, 3, 1).Number(900, 40, 2).SetDimensions(0, 1, 0, 1); }, "3,3..900,40"},
  };
  for (const Case& c : cases) {
    WorkbookBuilder book;
    c.write(book.AddSheet("S"));
    auto file = MustOpen(book);
    EXPECT_EQ(Show(MustRead(*file).used_range()), c.range) << c.name;
  }
}

TEST(CellRecordTest, TextsAreExactUtf8) {
  const std::string texts[] = {
      "Ünïcödé ß",                 // Latin-1, stored with one byte per character
      "Привет, мир",               // Cyrillic, two bytes per character
      "日本語のテキスト",          // CJK
      "emoji 😀 and 𝄞",            // characters beyond U+FFFF: surrogate pairs in the file
      " leading and trailing ",    // blanks kept
      "line\nbreak\r\nand\ttab",   // control characters kept
      std::string(3000, 'x') + "é",  // longer than many records
  };
  WorkbookBuilder book;
  SheetBuilder& sheet = book.AddSheet("Texts");
  for (uint16_t i = 0; i < std::size(texts); ++i) sheet.Text(i, 0, texts[i]).Label(i, 1, texts[i]);
  auto file = MustOpen(book);
  const SheetData& data = MustRead(*file);
  for (uint16_t i = 0; i < std::size(texts); ++i) {
    EXPECT_EQ(data.cell(i, 0).text, texts[i]) << "shared string " << i;
    EXPECT_EQ(data.cell(i, 1).text, texts[i]) << "LABEL " << i;
  }
}

TEST(CellRecordTest, ManyRowsAreAllFound) {
  WorkbookBuilder book;
  SheetBuilder& sheet = book.AddSheet("Big");
  for (uint32_t row = 0; row < 65536; ++row) {
    sheet.Rk(static_cast<uint16_t>(row), 0, row, RkForm::kInteger);
    if (row % 3 == 0) sheet.Text(static_cast<uint16_t>(row), 2, "r" + std::to_string(row));
  }
  auto file = MustOpen(book);
  const SheetData& data = MustRead(*file);
  EXPECT_EQ(Show(data.used_range()), "0,0..65535,2");
  for (uint32_t row : {0u, 1u, 2u, 3u, 32768u, 65534u, 65535u}) {
    EXPECT_EQ(Show(data.cell(row, 0)), "number " + std::to_string(row));
    EXPECT_EQ(Show(data.cell(row, 1)), "empty");
    EXPECT_EQ(Show(data.cell(row, 2)), row % 3 == 0 ? "text \"r" + std::to_string(row) + "\"" : "empty");
  }
}

}  // namespace
}  // namespace dravella::engine
