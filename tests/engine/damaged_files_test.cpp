// Files that are not workbooks, are encrypted, cut short or damaged: each
// gives its own error, with a positive number and a description naming the
// file; and the sloppiness of real files that is read without complaint.
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
using testing::BiffWriter;
using testing::ByteWriter;
using testing::CompoundFileBuilder;
using testing::PutU16;
using testing::StreamLayout;
using testing::WorkbookBuilder;

std::vector<uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

// A BIFF8 workbook of two worksheets, as a bare stream, and where its parts lie.
std::vector<uint8_t> TwoSheetStream(StreamLayout* layout) {
  WorkbookBuilder book;
  book.AddSheet("One").Text(0, 0, "text").Number(1, 0, 2);
  book.AddSheet("Two").Number(0, 0, 3).Text(1, 1, "more");
  return book.BuildStream(layout);
}

std::vector<uint8_t> InContainer(std::vector<uint8_t> stream) {
  return CompoundFileBuilder().AddStream("Workbook", std::move(stream)).Build();
}

std::vector<uint8_t> Cut(std::vector<uint8_t> bytes, size_t size) {
  bytes.resize(size);
  return bytes;
}

std::vector<uint8_t> Encrypted(BiffVersion version) {
  WorkbookBuilder book(version);
  book.AddSheet("Secret").Number(0, 0, 1);
  book.SetEncrypted();
  return book.Build();
}

std::vector<uint8_t> WithSheetRecord(uint16_t id, std::vector<uint8_t> payload) {
  WorkbookBuilder book;
  book.AddSheet("S").Number(0, 0, 1).Record(id, payload).Number(1, 0, 2);
  return book.Build();
}

enum class Stage { kOpen, kWorksheet };

struct DamageCase {
  const char* name;
  std::function<std::vector<uint8_t>()> make;
  Stage stage;
  ErrorCode code;
  const char* message_part;
};

void PrintTo(const DamageCase& c, std::ostream* out) { *out << c.name; }

class DamagedFileTest : public ::testing::TestWithParam<DamageCase> {};

TEST_P(DamagedFileTest, GivesItsNamedError) {
  const DamageCase& c = GetParam();
  const std::string name = std::string("bad_") + c.name + ".xls";
  auto opened = WorkbookFile::OpenBytes(c.make(), name);
  Status status;
  if (c.stage == Stage::kOpen) {
    ASSERT_FALSE(opened.ok()) << "opened without complaint";
    status = opened.status();
  } else {
    ASSERT_TRUE(opened.ok()) << "opening should succeed: " << opened.status().description();
    ASSERT_GE(opened.value()->worksheet_count(), 1u);
    auto sheet = opened.value()->worksheet(0);
    ASSERT_FALSE(sheet.ok()) << "the worksheet read without complaint";
    status = sheet.status();
  }
  EXPECT_EQ(status.code(), c.code) << status.description();
  EXPECT_GT(status.number(), 0);
  EXPECT_NE(status.description().find("\"" + name + "\""), std::string::npos) << status.description();
  EXPECT_NE(status.description().find(c.message_part), std::string::npos) << status.description();
}

const DamageCase kDamageCases[] = {
    // Not workbooks at all.
    {"EmptyFile", [] { return std::vector<uint8_t>{}; }, Stage::kOpen, ErrorCode::kNotAWorkbook, "empty"},
    {"ZipArchive", [] { return Bytes("PK\x03\x04\x14\x00\x06\x00[Content_Types].xml"); }, Stage::kOpen,
     ErrorCode::kNotAWorkbook, "ZIP"},
    {"CsvText", [] { return Bytes("name;amount\r\nAnna;12,5\r\n"); }, Stage::kOpen, ErrorCode::kNotAWorkbook,
     "text file"},
    {"HtmlPage", [] { return Bytes("\xEF\xBB\xBF  <html xmlns:x=\"urn:schemas-microsoft-com:office:excel\">"); },
     Stage::kOpen, ErrorCode::kNotAWorkbook, "HTML"},
    {"BinaryNoise", [] { return std::vector<uint8_t>{0x00, 0x01, 0x02, 0x03, 0xFE, 0x10, 0x00, 0x00}; },
     Stage::kOpen, ErrorCode::kNotAWorkbook, "no kind"},
    {"OtherOfficeDocument",
     [] { return CompoundFileBuilder().AddStream("WordDocument", std::vector<uint8_t>(5000, 1)).Build(); },
     Stage::kOpen, ErrorCode::kNotAWorkbook, "without a workbook stream"},

    // Encrypted.
    {"EncryptedXlsx",
     [] {
       return CompoundFileBuilder()
           .AddStream("EncryptionInfo", std::vector<uint8_t>(200, 4))
           .AddStream("EncryptedPackage", std::vector<uint8_t>(9000, 5))
           .Build();
     },
     Stage::kOpen, ErrorCode::kEncrypted, ".xlsx"},
    {"FilePassBiff8", [] { return Encrypted(BiffVersion::kBiff8); }, Stage::kOpen, ErrorCode::kEncrypted, "password"},
    {"FilePassBiff5", [] { return Encrypted(BiffVersion::kBiff5); }, Stage::kOpen, ErrorCode::kEncrypted, "password"},
    {"FilePassBiff4Workbook", [] { return Encrypted(BiffVersion::kBiff4Workbook); }, Stage::kOpen,
     ErrorCode::kEncrypted, "password"},
    {"FilePassBiff4", [] { return Encrypted(BiffVersion::kBiff4); }, Stage::kOpen, ErrorCode::kEncrypted, "password"},
    {"FilePassBiff2", [] { return Encrypted(BiffVersion::kBiff2); }, Stage::kOpen, ErrorCode::kEncrypted, "password"},

    // Versions.
    {"UnknownBiffVersion",
     [] {
       StreamLayout layout;
       auto stream = TwoSheetStream(&layout);
       PutU16(stream, 4, 0x0700);
       return InContainer(stream);
     },
     Stage::kOpen, ErrorCode::kUnsupportedVersion, "0x0700"},
    {"WorkspaceFile",
     [] {
       auto stream = BiffWriter().Append(0x0809, ByteWriter().U16(0x0500).U16(0x0100).U32(0).bytes()).Take();
       return InContainer(stream);
     },
     Stage::kOpen, ErrorCode::kNotAWorkbook, "workspace"},

    // Cut short.
    {"ContainerCutInHalf",
     [] {
       WorkbookBuilder book;
       book.AddSheet("S").Text(0, 0, std::string(9000, 'x'));
       auto file = book.Build();
       return Cut(file, file.size() / 2);
     },
     Stage::kOpen, ErrorCode::kTruncated, "sector"},
    {"GlobalsCutInsideARecord",
     [] {
       StreamLayout layout;
       auto stream = TwoSheetStream(&layout);
       return InContainer(Cut(stream, *layout.sst_offset + 9));
     },
     Stage::kOpen, ErrorCode::kTruncated, "inside a record"},
    {"GlobalsWithoutEof",
     [] {
       StreamLayout layout;
       auto stream = TwoSheetStream(&layout);
       return InContainer(Cut(stream, layout.globals_eof_offset));
     },
     Stage::kOpen, ErrorCode::kTruncated, "without their EOF"},
    {"SheetCutInsideARecord",
     [] {
       StreamLayout layout;
       auto stream = TwoSheetStream(&layout);
       return InContainer(Cut(stream, layout.sheet_offsets[1] - 30));
     },
     Stage::kWorksheet, ErrorCode::kTruncated, "worksheet \"One\""},
    {"SheetWithoutEof",
     [] {
       WorkbookBuilder book;
       book.AddSheet("S").Number(0, 0, 1).OmitEof();
       return book.Build();
     },
     Stage::kWorksheet, ErrorCode::kTruncated, "without its EOF"},

    // Damaged.
    {"WorkbookStreamEmpty", [] { return InContainer({}); }, Stage::kOpen, ErrorCode::kDamaged, "empty"},
    {"WorkbookStreamWithoutBof", [] { return InContainer(std::vector<uint8_t>(5000, 0)); }, Stage::kOpen,
     ErrorCode::kDamaged, "BOF"},
    {"BofTooShort", [] { return InContainer(BiffWriter().Append(0x0809, std::vector<uint8_t>{0, 6}).Take()); },
     Stage::kOpen, ErrorCode::kDamaged, "BOF record"},
    {"BoundSheetTooShort",
     [] {
       WorkbookBuilder book;
       book.AddGlobalsRecord(0x0085, {1, 2, 3});
       return book.Build();
     },
     Stage::kOpen, ErrorCode::kDamaged, "BOUNDSHEET"},
    {"CodePageTooShort",
     [] {
       WorkbookBuilder book(BiffVersion::kBiff5);
       book.AddGlobalsRecord(0x0042, {1});
       book.AddSheet("S");
       return book.Build();
     },
     Stage::kOpen, ErrorCode::kDamaged, "CODEPAGE"},
    {"BoundSheetPointsPastTheStream",
     [] {
       WorkbookBuilder book;
       book.AddSheet("S").Number(0, 0, 1).SetBoundSheetOffset(4000000);
       return book.Build();
     },
     Stage::kWorksheet, ErrorCode::kDamaged, "no BOF"},
    {"BoundSheetPointsIntoTheGlobals",
     [] {
       WorkbookBuilder book;
       book.AddSheet("S").Number(0, 0, 1).SetBoundSheetOffset(20);
       return book.Build();
     },
     Stage::kWorksheet, ErrorCode::kDamaged, "offset 20"},
    {"SharedStringOutOfRange",
     [] {
       WorkbookBuilder book;
       book.AddSheet("S").Text(0, 0, "only string").SharedStringCell(1, 0, 1);
       return book.Build();
     },
     Stage::kWorksheet, ErrorCode::kDamaged, "shared string 1"},
    {"NumberTooShort", [] { return WithSheetRecord(0x0203, {0, 0, 1, 0, 0, 0, 0}); }, Stage::kWorksheet,
     ErrorCode::kDamaged, "NUMBER"},
    {"RkTooShort", [] { return WithSheetRecord(0x027E, {0, 0, 1, 0, 0, 0, 0, 0}); }, Stage::kWorksheet,
     ErrorCode::kDamaged, "RK"},
    {"MulRkTooShort", [] { return WithSheetRecord(0x00BD, {0, 0, 1}); }, Stage::kWorksheet, ErrorCode::kDamaged,
     "MULRK"},
    {"MulBlankTooShort", [] { return WithSheetRecord(0x00BE, {0, 0, 1, 0, 1}); }, Stage::kWorksheet,
     ErrorCode::kDamaged, "MULBLANK"},
    {"LabelSstTooShort", [] { return WithSheetRecord(0x00FD, {0, 0, 1, 0, 0, 0, 0}); }, Stage::kWorksheet,
     ErrorCode::kDamaged, "LABELSST"},
    {"BoolErrTooShort", [] { return WithSheetRecord(0x0205, {0, 0, 1, 0, 0, 0, 1}); }, Stage::kWorksheet,
     ErrorCode::kDamaged, "BOOLERR"},
    {"BlankTooShort", [] { return WithSheetRecord(0x0201, {0, 0, 1}); }, Stage::kWorksheet, ErrorCode::kDamaged,
     "BLANK"},
    {"LabelTooShort", [] { return WithSheetRecord(0x0204, {0, 0}); }, Stage::kWorksheet, ErrorCode::kDamaged,
     "LABEL"},
    {"FormulaTooShort", [] { return WithSheetRecord(0x0006, {0, 0, 1, 0, 0, 0, 1, 2, 3, 4, 5}); },
     Stage::kWorksheet, ErrorCode::kDamaged, "FORMULA"},
};

INSTANTIATE_TEST_SUITE_P(Cases, DamagedFileTest, ::testing::ValuesIn(kDamageCases),
                         [](const auto& info) { return std::string(info.param.name); });

// What real files do that is read without complaint.
TEST(SloppyFileTest, TrailingBytesAfterTheLastEofAreIgnored) {
  StreamLayout layout;
  auto stream = TwoSheetStream(&layout);
  for (uint8_t b : {0x00, 0x41, 0xFF}) {
    auto padded = stream;
    padded.insert(padded.end(), 37, b);
    auto file = MustOpen(InContainer(padded));
    EXPECT_EQ(Show(MustRead(*file, 1).cell(1, 1)), "text \"more\"");
  }
}

TEST(SloppyFileTest, FormulaWithoutItsStringRecordKeepsAnEmptyCell) {
  WorkbookBuilder book;
  // A FORMULA that announces a text result, then no STRING record.
  const auto formula = ByteWriter().U16(3).U16(4).U16(book.default_xf()).U8(0).Zeros(5).U16(0xFFFF).U16(0).U32(0).U16(0).Take();
  book.AddSheet("S").Record(0x0006, formula).Number(5, 0, 1);
  auto file = MustOpen(book);
  EXPECT_EQ(Show(MustRead(*file).cell(3, 4)), "empty");
  EXPECT_EQ(Show(MustRead(*file).used_range()), "3,0..5,4") << "the formula cell still counts";
}

TEST(SloppyFileTest, StrayStringRecordAndUnknownRecordsAreIgnored) {
  WorkbookBuilder book;
  book.AddSheet("S")
      .Number(0, 0, 1)
      .Record(0x0207, ByteWriter().U16(3).U8(0).Bytes("abc").bytes())
      .Record(0x1234, std::vector<uint8_t>(40, 0xEE))
      .Record(0x0000, {})
      .Number(0, 1, 2);
  auto file = MustOpen(book);
  EXPECT_EQ(Show(MustRead(*file).used_range()), "0,0..0,1");
  EXPECT_EQ(Show(MustRead(*file).cell(0, 1)), "number 2");
}

TEST(SloppyFileTest, EmbeddedChartRecordsAreNotCells) {
  WorkbookBuilder book;
  const auto chart_bof = ByteWriter().U16(0x0600).U16(0x0020).U32(0).U32(0).U32(0).Take();
  const auto number = ByteWriter().U16(50).U16(50).U16(0).F64(9).Take();
  book.AddSheet("S").Number(0, 0, 1).Record(0x0809, chart_bof).Record(0x0203, number).Record(0x000A, {}).Number(
      2, 2, 3);
  auto file = MustOpen(book);
  EXPECT_EQ(Show(MustRead(*file).used_range()), "0,0..2,2");
  EXPECT_EQ(Show(MustRead(*file).cell(50, 50)), "empty");
}

TEST(SloppyFileTest, MulRkWithAWrongLastColumnUsesItsLength) {
  WorkbookBuilder book;
  const auto mulrk = ByteWriter().U16(0).U16(2).U16(0).U32(1u << 2 | 2).U16(0).U32(2u << 2 | 2).U16(200).Take();
  book.AddSheet("S").Record(0x00BD, mulrk);
  auto file = MustOpen(book);
  EXPECT_EQ(Show(MustRead(*file).used_range()), "0,2..0,3");
  EXPECT_EQ(Show(MustRead(*file).cell(0, 3)), "number 2");
}

}  // namespace
}  // namespace dravella::engine
