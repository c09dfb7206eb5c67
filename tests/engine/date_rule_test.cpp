// The date rule: a number is a date when its XF's number format shows dates
// (built-in ids, or a format string with date codes outside quotes, [...]
// and escapes) and the value lies in the calendar; BIFF2-4 number their
// formats by position; DATEMODE picks the 1904 system.
#include "engine/xls/number_format.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/engine/reader_test_support.h"

namespace dravella::engine {
namespace {

using reader_test::MustOpen;
using reader_test::MustRead;
using reader_test::Show;
using testing::BiffVersion;
using testing::BiffWriter;
using testing::ByteWriter;
using testing::SheetBuilder;
using testing::WorkbookBuilder;

TEST(DateRuleTest, FormatStringsWithDateCodesOutsideQuotesBracketsAndEscapes) {
  const struct {
    const char* format;
    bool date;
  } cases[] = {
      {"yyyy-mm-dd", true},    {"d/m/yy", true},         {"h:mm AM/PM", true},  {"[h]:mm:ss", true},
      {"mm:ss.0", true},       {"S", true},              {"[$-409]mmmm", true}, {"\"at\" hh", true},
      {"General", false},      {"0.00", false},          {"#,##0.00 \"days\"", false},
      {"[Red]0.00", false},    {"\\d\\m0", false},       {"0.0E+00", false},    {"# ?/?", false},
      {"\"unclosed d", false}, {"[unclosed h", false},   {"", false},           {"@", false},
      {"_-* #,##0_-", false},
  };
  for (const auto& c : cases) EXPECT_EQ(xls::IsDateFormatString(c.format), c.date) << c.format;
}

TEST(DateRuleTest, BuiltInDateFormatIds) {
  for (uint16_t id = 0; id < 200; ++id) {
    const bool date = (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) ||
                      (id >= 50 && id <= 58);
    EXPECT_EQ(xls::IsBuiltInDateFormat(id), date) << id;
  }
}

// The same values under different formats, in every version.
class DateRuleVersionTest : public ::testing::TestWithParam<BiffVersion> {};

TEST_P(DateRuleVersionTest, NumbersInDateFormatsAreDates) {
  WorkbookBuilder book(GetParam());
  const uint16_t date = book.DateXf();
  const uint16_t custom_date = book.AddXf(book.AddFormat("dd/mm/yyyy hh:mm"));
  const uint16_t quoted = book.AddXf(book.AddFormat("0.00 \"days\""));
  const uint16_t percent = book.AddXf(book.AddFormat("0.0%"));
  SheetBuilder& s = book.AddSheet("Dates");
  s.Number(0, 0, 45000, date).Number(0, 1, 45000.25, custom_date).Number(0, 2, 45000, quoted);
  s.Number(0, 3, 0.5, percent).Number(0, 4, 45000);
  s.Number(1, 0, -1, date).Number(1, 1, 2958466, date).Number(1, 2, 0, date).Number(1, 3, 0.75, custom_date);
  s.FormulaNumber(2, 0, 44000, {}, date).Boolean(2, 1, true, date).Text(2, 2, "text", date);
  auto file = MustOpen(book);
  const SheetData& d = MustRead(*file);
  EXPECT_EQ(Show(d.cell(0, 0)), "date 45000");
  EXPECT_EQ(Show(d.cell(0, 1)), "date 45000.25");
  EXPECT_EQ(Show(d.cell(0, 2)), "number 45000") << "date letters inside quotes do not count";
  EXPECT_EQ(Show(d.cell(0, 3)), "number 0.5");
  EXPECT_EQ(Show(d.cell(0, 4)), "number 45000");
  EXPECT_EQ(Show(d.cell(1, 0)), "number -1") << "before the calendar";
  EXPECT_EQ(Show(d.cell(1, 1)), "number 2958466") << "after 9999-12-31";
  EXPECT_EQ(Show(d.cell(1, 2)), "date 0");
  EXPECT_EQ(Show(d.cell(1, 3)), "date 0.75") << "a time alone";
  EXPECT_EQ(Show(d.cell(2, 0)), "date 44000") << "a formula's cached number too";
  EXPECT_EQ(Show(d.cell(2, 1)), "boolean TRUE") << "only numbers become dates";
  EXPECT_EQ(Show(d.cell(2, 2)), "text \"text\"");
}

TEST_P(DateRuleVersionTest, DateModeChoosesThe1904System) {
  WorkbookBuilder book(GetParam());
  book.AddSheet("S").Number(0, 0, 1);
  EXPECT_EQ(MustOpen(book)->date_system(), DateSystem::k1900);
  book.SetDateMode1904();
  EXPECT_EQ(MustOpen(book)->date_system(), DateSystem::k1904);
}

INSTANTIATE_TEST_SUITE_P(AllVersions, DateRuleVersionTest,
                         ::testing::Values(BiffVersion::kBiff2, BiffVersion::kBiff3, BiffVersion::kBiff4,
                                           BiffVersion::kBiff4Workbook, BiffVersion::kBiff5, BiffVersion::kBiff8));

TEST(DateRuleTest, BuiltInIdsNeedNoFormatRecordFromBiff5On) {
  for (BiffVersion version : {BiffVersion::kBiff5, BiffVersion::kBiff8}) {
    WorkbookBuilder book(version);
    const uint16_t time = book.AddXf(46);     // [h]:mm:ss, built in
    const uint16_t fraction = book.AddXf(12);  // # ?/?, built in
    book.AddSheet("S").Number(0, 0, 1.5, time).Number(0, 1, 1.5, fraction);
    auto file = MustOpen(book);
    EXPECT_EQ(Show(MustRead(*file).cell(0, 0)), "date 1.5");
    EXPECT_EQ(Show(MustRead(*file).cell(0, 1)), "number 1.5");
  }
}

TEST(DateRuleTest, MulRkCellsTakeTheirOwnXf) {
  WorkbookBuilder book;
  const uint16_t date = book.DateXf();
  // MULRK with a date XF for the first cell and the default for the second.
  ByteWriter mulrk;
  mulrk.U16(0).U16(0).U16(date).U32(0x40E5F540u & ~3u).U16(book.default_xf()).U32(4u << 2 | 2).U16(1);
  book.AddSheet("S").Record(0x00BD, mulrk.bytes());
  auto file = MustOpen(book);
  EXPECT_EQ(MustRead(*file).cell(0, 0).kind, CellKind::kDate);
  EXPECT_EQ(Show(MustRead(*file).cell(0, 1)), "number 4");
}

// BIFF2 streams written by hand: Excel 2.0 files have no XF records, and
// their cells name the number format in their attribute bytes.
std::vector<uint8_t> Biff2Stream(const std::function<void(BiffWriter&)>& records) {
  BiffWriter out;
  out.Append(0x0009, ByteWriter().U16(0x0007).U16(0x0010).bytes());
  records(out);
  out.Append(0x000A, {});
  return out.Take();
}

std::vector<uint8_t> Biff2Number(uint16_t row, uint8_t attribute0, uint8_t attribute1, double value) {
  return ByteWriter().U16(row).U16(0).U8(attribute0).U8(attribute1).U8(0).F64(value).Take();
}

TEST(DateRuleTest, Biff2WithoutXfRecordsUsesTheCellsFormatBits) {
  const auto stream = Biff2Stream([](BiffWriter& out) {
    out.Append(0x001E, ByteWriter().U8(7).Bytes("General").bytes());
    out.Append(0x001E, ByteWriter().U8(6).Bytes("d/m/yy").bytes());
    out.Append(0x0003, Biff2Number(0, 0, 1, 30000));  // format 1: a date
    out.Append(0x0003, Biff2Number(1, 0, 0, 30000));  // format 0: General
  });
  auto file = MustOpen(stream, "old.xls");
  EXPECT_EQ(Show(MustRead(*file).cell(0, 0)), "date 30000");
  EXPECT_EQ(Show(MustRead(*file).cell(1, 0)), "number 30000");
}

TEST(DateRuleTest, Biff2IxfeRecordGivesXfIndicesAbove62) {
  const auto stream = Biff2Stream([](BiffWriter& out) {
    out.Append(0x001E, ByteWriter().U8(7).Bytes("General").bytes());
    out.Append(0x001E, ByteWriter().U8(8).Bytes("hh:mm:ss").bytes());
    for (int xf = 0; xf < 70; ++xf) {
      out.Append(0x0043, ByteWriter().U8(0).U8(0).U8(xf == 66 ? 1 : 0).U8(0).bytes());
    }
    out.Append(0x0044, ByteWriter().U16(66).bytes());
    out.Append(0x0003, Biff2Number(0, 0x3F, 0, 0.5));  // XF 63: look at IXFE, which says 66
    out.Append(0x0003, Biff2Number(1, 5, 0, 0.5));     // XF 5
  });
  auto file = MustOpen(stream, "old.xls");
  EXPECT_EQ(Show(MustRead(*file).cell(0, 0)), "date 0.5");
  EXPECT_EQ(Show(MustRead(*file).cell(1, 0)), "number 0.5");
}

}  // namespace
}  // namespace dravella::engine
