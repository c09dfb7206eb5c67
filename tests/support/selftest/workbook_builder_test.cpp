// The workbook builder's stream structure: sheet lists that point at their
// substreams, the records Excel writes at the least, and the cell record
// layouts a reader depends on.
#include <gtest/gtest.h>

#include <bit>

#include "tests/support/selftest/independent_readers.h"
#include "tests/support/xls_builder.h"

namespace dravella::testing {
namespace {

using selftest::Le16;
using selftest::Le32;
using selftest::RawRecord;
using selftest::SplitRecords;

std::vector<uint16_t> Ids(const std::vector<RawRecord>& records) {
  std::vector<uint16_t> ids;
  for (const RawRecord& r : records) ids.push_back(r.id);
  return ids;
}

std::vector<RawRecord> OnlyId(const std::vector<RawRecord>& records, uint16_t id) {
  std::vector<RawRecord> out;
  for (const RawRecord& r : records) {
    if (r.id == id) out.push_back(r);
  }
  return out;
}

TEST(WorkbookStructure, TheSheetListPointsAtEachSheetsBof) {
  for (BiffVersion version : {BiffVersion::kBiff5, BiffVersion::kBiff8}) {
    SCOPED_TRACE(version == BiffVersion::kBiff5 ? "BIFF5" : "BIFF8");
    WorkbookBuilder book(version);
    book.AddSheet("Data").Text(0, 0, "a");
    book.AddSheet("Chart1", SheetKind::kChart);
    book.AddSheet("Secret", SheetKind::kWorksheet, SheetVisibility::kHidden).Number(3, 3, 1);
    book.AddSheet("Macro1", SheetKind::kMacroSheet, SheetVisibility::kVeryHidden);
    StreamLayout layout;
    const std::vector<uint8_t> stream = book.BuildStream(&layout);

    const auto sheets = OnlyId(SplitRecords(stream), record::kBoundSheet);
    ASSERT_EQ(sheets.size(), 4u);
    const uint16_t bof_types[] = {0x0010, 0x0020, 0x0010, 0x0040};
    const uint8_t list_types[] = {0, 2, 0, 1};
    const uint8_t visibility[] = {0, 0, 1, 2};
    for (size_t i = 0; i < sheets.size(); ++i) {
      const uint32_t bof = Le32(sheets[i].payload, 0);
      EXPECT_EQ(bof, layout.sheet_offsets[i]);
      EXPECT_EQ(Le16(stream, bof), record::kBof);
      EXPECT_EQ(Le16(stream, bof + 6), bof_types[i]);
      EXPECT_EQ(sheets[i].payload[4], visibility[i]);
      EXPECT_EQ(sheets[i].payload[5], list_types[i]);
      EXPECT_EQ(sheets[i].offset, layout.boundsheet_offsets[i]);
    }
    // The last sheet ends the stream with its EOF.
    EXPECT_EQ(Le16(stream, stream.size() - 4), record::kEof);
  }
}

TEST(WorkbookStructure, Biff4WorkbooksChainTheirSheetsBehindSheetHeaders) {
  WorkbookBuilder book(BiffVersion::kBiff4Workbook);
  book.AddSheet("One").Number(0, 0, 1);
  book.AddSheet("Two").Text(1, 1, "x");
  StreamLayout layout;
  const std::vector<uint8_t> stream = book.BuildStream(&layout);
  const auto records = SplitRecords(stream);

  EXPECT_EQ(Le16(records[0].payload, 2), 0x0100);  // the globals are a workspace
  const auto offset = OnlyId(records, record::kSheetsOffset);
  ASSERT_EQ(offset.size(), 1u);
  size_t at = Le32(offset[0].payload, 0);
  for (size_t i = 0; i < 2; ++i) {
    ASSERT_EQ(Le16(stream, at), record::kSheetHeader);
    const uint16_t header_length = Le16(stream, at + 2);
    const uint32_t substream_length = Le32(stream, at + 4);
    const size_t bof = at + 4 + header_length;
    EXPECT_EQ(bof, layout.sheet_offsets[i]);
    EXPECT_EQ(Le16(stream, bof), record::kBof4);
    EXPECT_EQ(Le16(stream, bof + substream_length - 4), record::kEof);
    at = bof + substream_length;
  }
  EXPECT_EQ(at, layout.globals_eof_offset);
  EXPECT_EQ(at + 4, stream.size());
}

TEST(WorkbookStructure, DefaultsAreWhatExcelWritesAtTheLeast) {
  WorkbookBuilder book;
  book.AddSheet("S").Number(0, 0, 1);
  const auto records = SplitRecords(book.BuildStream());
  std::vector<uint16_t> expected = {record::kBof, record::kCodepage, record::kWindow1, record::kDateMode};
  expected.insert(expected.end(), 4, record::kFont);
  expected.insert(expected.end(), 16, record::kXf);
  for (uint16_t id : {record::kStyle, record::kBoundSheet, record::kSst, record::kExtSst, record::kEof,
                      record::kBof, record::kDimensions, record::kNumber, record::kWindow2, record::kEof}) {
    expected.push_back(id);
  }
  EXPECT_EQ(Ids(records), expected);
  EXPECT_EQ(Le16(records[1].payload, 0), 1200);  // BIFF8 texts are UTF-16
  EXPECT_EQ(Le16(records[3].payload, 0), 0);     // the 1900 date system
  EXPECT_EQ(Le16(records[0].payload, 0), 0x0600);
  EXPECT_EQ(Le16(records[0].payload, 2), 0x0005);
  // XFs 0-14 are styles, 15 the default cell format.
  EXPECT_EQ(Le16(records[8].payload, 4) & 0x0004, 0x0004);
  EXPECT_EQ(Le16(records[23].payload, 4) & 0x0004, 0);
  EXPECT_EQ(book.default_xf(), 15);
}

TEST(WorkbookStructure, GlobalOptionsChangeOnlyTheirRecord) {
  WorkbookBuilder book;
  book.SetEncrypted().SetDateMode1904().OmitCodepage().OmitExtSst();
  book.AddSheet("S");
  const auto records = SplitRecords(book.BuildStream());
  ASSERT_GE(records.size(), 3u);
  EXPECT_EQ(records[1].id, record::kFilePass);  // right after BOF
  EXPECT_EQ(Le16(records[1].payload, 0), 1);    // RC4
  EXPECT_EQ(records[1].payload.size(), 54u);
  EXPECT_TRUE(OnlyId(records, record::kCodepage).empty());
  EXPECT_TRUE(OnlyId(records, record::kExtSst).empty());
  EXPECT_EQ(Le16(OnlyId(records, record::kDateMode).at(0).payload, 0), 1);
}

TEST(WorkbookStructure, DimensionsCoverTheCellsUnlessTold) {
  struct Case {
    const char* what;
    BiffVersion version;
    void (*fill)(SheetBuilder&);
    std::vector<uint8_t> payload;
  };
  const Case cases[] = {
      {"BIFF8 cells", BiffVersion::kBiff8,
       [](SheetBuilder& s) { s.Number(5, 3, 1).MulBlank(2, 1, 2).Text(4, 7, "x"); },
       {2, 0, 0, 0, 6, 0, 0, 0, 1, 0, 8, 0, 0, 0}},
      {"no cells", BiffVersion::kBiff8, [](SheetBuilder&) {}, std::vector<uint8_t>(14, 0)},
      {"a lie", BiffVersion::kBiff8,
       [](SheetBuilder& s) { s.Number(0, 0, 1).SetDimensions(0, 70000, 0, 300); },
       {0, 0, 0, 0, 0x70, 0x11, 1, 0, 0, 0, 0x2C, 1, 0, 0}},
      {"BIFF5", BiffVersion::kBiff5, [](SheetBuilder& s) { s.Number(9, 2, 1); },
       {9, 0, 10, 0, 2, 0, 3, 0, 0, 0}},
      {"BIFF2", BiffVersion::kBiff2, [](SheetBuilder& s) { s.Integer(1, 1, 7); }, {1, 0, 2, 0, 1, 0, 2, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WorkbookBuilder book(c.version);
    c.fill(book.AddSheet("S"));
    const auto records = SplitRecords(book.BuildStream());
    const uint16_t id = c.version == BiffVersion::kBiff2 ? record::kDimensions2 : record::kDimensions;
    const auto dims = OnlyId(records, id);
    ASSERT_EQ(dims.size(), 1u);
    EXPECT_EQ(dims[0].payload, c.payload);
  }
}

// The record that a call wrote, found by its id in the sheet.
RawRecord RecordOf(const WorkbookBuilder& book, uint16_t id, size_t nth = 0) {
  return OnlyId(SplitRecords(book.BuildStream()), id).at(nth);
}

TEST(CellRecords, LayoutsAReaderDependsOn) {
  // BIFF2 cells carry three attribute bytes: XF index, then number format.
  {
    WorkbookBuilder book(BiffVersion::kBiff2);
    const uint16_t date = book.DateXf();
    book.AddSheet("S").Number(1, 2, 1.0, date).Integer(0, 0, 513);
    EXPECT_EQ(RecordOf(book, record::kNumber2).payload,
              (std::vector<uint8_t>{1, 0, 2, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F}));
    EXPECT_EQ(RecordOf(book, record::kInteger2).payload, (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0, 1, 2}));
    EXPECT_EQ(RecordOf(book, record::kFormat23, 1).payload, (std::vector<uint8_t>{6, 'M', '/', 'D', '/', 'Y', 'Y'}));
  }
  // Formula results that are not numbers: type byte, value byte, 0xFFFF.
  {
    WorkbookBuilder book;
    SheetBuilder& s = book.AddSheet("S");
    s.FormulaText(0, 0, "ab").FormulaBoolean(0, 1, true).FormulaError(0, 2, CellError::kNA).FormulaEmptyText(0, 3);
    const std::vector<std::vector<uint8_t>> results = {
        {0, 0, 0, 0, 0, 0, 0xFF, 0xFF}, {1, 0, 1, 0, 0, 0, 0xFF, 0xFF},
        {2, 0, 0x2A, 0, 0, 0, 0xFF, 0xFF}, {3, 0, 0, 0, 0, 0, 0xFF, 0xFF}};
    for (size_t i = 0; i < results.size(); ++i) {
      const RawRecord formula = RecordOf(book, record::kFormula, i);
      EXPECT_EQ(std::vector<uint8_t>(formula.payload.begin() + 6, formula.payload.begin() + 14), results[i]) << i;
    }
    // Only the text result has a STRING record.
    const auto records = SplitRecords(book.BuildStream());
    EXPECT_EQ(OnlyId(records, record::kString).size(), 1u);
    EXPECT_EQ(RecordOf(book, record::kString).payload, (std::vector<uint8_t>{2, 0, 0, 'a', 'b'}));
  }
  // A shared formula: FORMULA with ptgExp and fShrFmla, SHRFMLA, then STRING.
  {
    WorkbookBuilder book;
    book.AddSheet("S").FormulaText(4, 2, "x", {.tail = FormulaTail::kSharedFormula});
    const auto records = SplitRecords(book.BuildStream());
    size_t f = 0;
    while (records[f].id != record::kFormula) ++f;
    EXPECT_EQ(records[f + 1].id, record::kShrFmla);
    EXPECT_EQ(records[f + 2].id, record::kString);
    const std::vector<uint8_t>& p = records[f].payload;
    EXPECT_EQ(Le16(p, 14) & 0x0008, 0x0008);
    EXPECT_EQ(std::vector<uint8_t>(p.begin() + 20, p.end()), (std::vector<uint8_t>{0x05, 0, 0x01, 4, 0, 2, 0}));
    EXPECT_EQ(records[f + 1].payload, (std::vector<uint8_t>{4, 0, 4, 0, 2, 2, 0, 1, 4, 0, 0x17, 1, 0, 'x'}));
  }
  // MULRK: row, first column, (XF, RK) pairs, last column.
  {
    WorkbookBuilder book(BiffVersion::kBiff5);
    const double values[] = {1, 0.5};
    book.AddSheet("S").MulRk(3, 1, values);
    EXPECT_EQ(RecordOf(book, record::kMulRk).payload,
              (std::vector<uint8_t>{3, 0, 1, 0, 15, 0, 6, 0, 0, 0, 15, 0, 0, 0, 0xE0, 0x3F, 2, 0}));
  }
}

TEST(CellRecords, TextFollowsTheVersionAndCodePage) {
  // BIFF8: one SST entry per distinct text; LABEL when asked for.
  {
    WorkbookBuilder book;
    book.AddSheet("S").Text(0, 0, "Zo\xC3\xAB").Text(1, 0, "Zo\xC3\xAB").Label(2, 0, "\xE2\x82\xAC");
    EXPECT_EQ(Le32(RecordOf(book, record::kLabelSst, 1).payload, 6), 0u);
    EXPECT_EQ(RecordOf(book, record::kLabel).payload, (std::vector<uint8_t>{2, 0, 0, 0, 15, 0, 1, 0, 1, 0xAC, 0x20}));
  }
  // BIFF5 in Windows 1251: byte strings in that code page.
  {
    WorkbookBuilder book(BiffVersion::kBiff5);
    book.SetCodepage(1251);
    book.AddSheet("S").Text(0, 0, "\xD0\x96");  // Cyrillic Zhe
    EXPECT_EQ(RecordOf(book, record::kLabel).payload, (std::vector<uint8_t>{0, 0, 0, 0, 15, 0, 1, 0, 0xC6}));
    EXPECT_THROW(book.sheet(0).Text(1, 0, "Zo\xC3\xAB"), std::invalid_argument);  // no e-diaeresis in 1251
  }
}

TEST(CellRecords, RecordsAVersionLacksAreRefused) {
  WorkbookBuilder biff2(BiffVersion::kBiff2);
  SheetBuilder& s2 = biff2.AddSheet("S");
  EXPECT_THROW(s2.Rk(0, 0, 1), std::logic_error);
  EXPECT_THROW(s2.SharedStringCell(0, 0, 0), std::logic_error);
  EXPECT_THROW(biff2.AddSheet("second"), std::logic_error);
  WorkbookBuilder biff4(BiffVersion::kBiff4);
  EXPECT_THROW(biff4.AddSheet("S").MulBlank(0, 0, 3), std::logic_error);
  WorkbookBuilder biff8;
  EXPECT_THROW(biff8.AddSheet("S").Integer(0, 0, 1), std::logic_error);
  EXPECT_THROW(biff8.SetMaxRecordPayload(100), std::logic_error);  // after a sheet exists
  EXPECT_THROW(biff8.sheet(0).Rk(0, 0, 0.1, RkForm::kInteger), std::invalid_argument);
}

}  // namespace
}  // namespace dravella::testing
