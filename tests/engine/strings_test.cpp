// Strings: the shared string table across CONTINUE records (option byte
// re-read at each one, rich-text runs and phonetic text skipped, counts not
// trusted), STRING records that continue, and byte strings in code pages.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/xls/code_page.h"
#include "tests/engine/reader_test_support.h"

namespace dravella::engine {
namespace {

using reader_test::MustOpen;
using reader_test::MustRead;
using reader_test::Show;
using testing::BiffVersion;
using testing::BiffWriter;
using testing::ByteWriter;
using testing::FormattingRun;
using testing::PhoneticBlock;
using testing::SharedString;
using testing::SheetBuilder;
using testing::WorkbookBuilder;

TEST(SharedStringsTest, LongStringsSplitAcrossManyContinueRecords) {
  const std::vector<std::string> texts = {
      std::string(500, 'a') + "|end",
      "Ελληνικά και Русский текст, повторённый " + std::string(200, '-') + " конец",
      "short",
      std::string(97, 'z'),
      "mixed ü then 中文 then plain ascii to the end",
  };
  for (bool recompress : {false, true}) {
    WorkbookBuilder book;
    book.SetMaxRecordPayload(40).SetSstRecompressContinuations(recompress);
    SheetBuilder& sheet = book.AddSheet("S");
    for (uint16_t i = 0; i < texts.size(); ++i) sheet.Text(i, 0, texts[i]);
    auto file = MustOpen(book);
    const SheetData& data = MustRead(*file);
    for (uint16_t i = 0; i < texts.size(); ++i) {
      EXPECT_EQ(data.cell(i, 0).text, texts[i]) << "string " << i << (recompress ? " recompressed" : "");
    }
  }
}

TEST(SharedStringsTest, RichTextRunsAndPhoneticTextAreSkipped) {
  WorkbookBuilder book;
  book.SetMaxRecordPayload(48);
  SharedString rich{"rich text here", {{0, 1}, {5, 2}, {9, 1}, {11, 3}}, {}};
  SharedString phonetic{"漢字かな", {}, PhoneticBlock(u"かんじかな", 4)};
  SharedString both{"both kinds", {{1, 1}}, PhoneticBlock(u"ぼーす", 10)};
  SheetBuilder& sheet = book.AddSheet("S");
  sheet.SharedStringCell(0, 0, book.AddSharedString(rich));
  sheet.SharedStringCell(1, 0, book.AddSharedString(phonetic));
  sheet.SharedStringCell(2, 0, book.AddSharedString(both));
  sheet.Text(3, 0, "after them");
  auto file = MustOpen(book);
  const SheetData& data = MustRead(*file);
  EXPECT_EQ(data.cell(0, 0).text, "rich text here");
  EXPECT_EQ(data.cell(1, 0).text, "漢字かな");
  EXPECT_EQ(data.cell(2, 0).text, "both kinds");
  EXPECT_EQ(data.cell(3, 0).text, "after them");
}

TEST(SharedStringsTest, CountsThatLieDoNotMatter) {
  for (auto [total, unique] : {std::pair{0u, 0u}, {1u, 1u}, {1000u, 1000u}, {0xFFFFFFFFu, 0xFFFFFFFFu}}) {
    WorkbookBuilder book;
    book.SetSstCounts(total, unique);
    book.AddSheet("S").Text(0, 0, "one").Text(1, 0, "two").Text(2, 0, "three");
    auto file = MustOpen(book);
    EXPECT_EQ(Show(MustRead(*file).cell(2, 0)), "text \"three\"") << unique;
  }
}

// A BIFF8 stream made by hand: the globals hold the given SST records, and
// the one worksheet refers to shared strings 0 .. count-1 in A1, A2, ...
std::vector<uint8_t> Biff8WithSst(const std::function<void(BiffWriter&)>& sst, uint32_t count) {
  BiffWriter out;
  const auto bof = [&out](uint16_t type) {
    out.Append(0x0809, ByteWriter().U16(0x0600).U16(type).U16(0x0DBB).U16(0x07CC).U32(0).U32(6).bytes());
  };
  bof(0x0005);
  sst(out);
  const size_t boundsheet = out.size();
  out.Append(0x0085, ByteWriter().U32(0).U8(0).U8(0).U8(1).U8(0).Bytes("S").bytes());
  out.Append(0x000A, {});
  testing::PutU32(out.bytes(), boundsheet + 4, static_cast<uint32_t>(out.size()));
  bof(0x0010);
  for (uint32_t i = 0; i < count; ++i) {
    out.Append(0x00FD, ByteWriter().U16(static_cast<uint16_t>(i)).U16(0).U16(0).U32(i).bytes());
  }
  out.Append(0x000A, {});
  return out.Take();
}

std::vector<uint8_t> SstHeader(uint32_t unique) { return ByteWriter().U32(unique).U32(unique).Take(); }

struct SstCase {
  const char* name;
  std::vector<std::vector<uint8_t>> parts;  // the SST payload, then each CONTINUE's
  std::vector<std::string> expected;
};

void PrintTo(const SstCase& c, std::ostream* out) { *out << c.name; }

class HandMadeSstTest : public ::testing::TestWithParam<SstCase> {};

TEST_P(HandMadeSstTest, ReadsEveryString) {
  const SstCase& c = GetParam();
  const auto stream = Biff8WithSst(
      [&c](BiffWriter& out) {
        out.AppendUnsplit(0x00FC, c.parts[0]);
        for (size_t i = 1; i < c.parts.size(); ++i) out.AppendUnsplit(0x003C, c.parts[i]);
      },
      static_cast<uint32_t>(c.expected.size()));
  auto file = MustOpen(stream);
  const SheetData& data = MustRead(*file);
  for (uint16_t i = 0; i < c.expected.size(); ++i) {
    EXPECT_EQ(data.cell(i, 0).text, c.expected[i]) << "string " << i;
  }
}

std::vector<uint8_t> Concat(std::initializer_list<std::vector<uint8_t>> parts) {
  std::vector<uint8_t> all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

const SstCase kSstCases[] = {
    {"CharactersBeginInTheContinueRecord",
     {Concat({SstHeader(2), ByteWriter().U16(3).U8(0).Take()}), ByteWriter().U8(0).Bytes("abc").U16(1).U8(0).Bytes("d").Take()},
     {"abc", "d"}},
    {"StringBeginsExactlyAtTheContinueRecord",
     {Concat({SstHeader(2), ByteWriter().U16(2).U8(0).Bytes("ab").Take()}), ByteWriter().U16(2).U8(0).Bytes("cd").Take()},
     {"ab", "cd"}},
    {"CompressedThenWide",
     {Concat({SstHeader(1), ByteWriter().U16(5).U8(0).Bytes("ab").Take()}),
      ByteWriter().U8(1).U16(u'ж').U16(u'ё').U16(u'!').Take()},
     {"abжё!"}},
    {"WideThenCompressed",
     {Concat({SstHeader(1), ByteWriter().U16(3).U8(1).U16(u'ж').Take()}), ByteWriter().U8(0).Bytes("\xE9z").Take()},
     {"жéz"}},
    {"SurrogatePairSplitByTheRecordBoundary",
     {Concat({SstHeader(1), ByteWriter().U16(3).U8(1).U16(u'a').U16(0xD83D).Take()}),
      ByteWriter().U8(1).U16(0xDE00).Take()},
     {"a😀"}},
    {"LoneSurrogateBecomesReplacementCharacter",
     {Concat({SstHeader(1), ByteWriter().U16(2).U8(1).U16(0xDC00).U16(u'x').Take()})},
     {"\xEF\xBF\xBDx"}},
    {"RunsInTheNextRecordWithoutOptionByte",
     {Concat({SstHeader(2), ByteWriter().U16(2).U8(0x08).U16(2).Bytes("hi").U32(0x00010000).Take()}),
      ByteWriter().U32(0x00020001).U16(2).U8(0).Bytes("ok").Take()},
     {"hi", "ok"}},
    {"PhoneticDataAcrossRecords",
     {Concat({SstHeader(2), ByteWriter().U16(1).U8(0x04).U32(10).Bytes("p").Bytes("12345").Take()}),
      ByteWriter().Bytes("67890").U16(1).U8(0).Bytes("q").Take()},
     {"p", "q"}},
    {"EmptyStringsAndAMissingOptionByteAtTheEnd",
     {Concat({SstHeader(3), ByteWriter().U16(0).U8(0).U16(1).U8(0).Bytes("x").U16(0).Take()})},
     {"", "x", ""}},
};

INSTANTIATE_TEST_SUITE_P(Cases, HandMadeSstTest, ::testing::ValuesIn(kSstCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SharedStringsTest, TableCutShortKeepsWhatItHoldsAndLaterIndicesAreDamage) {
  const auto stream = Biff8WithSst(
      [](BiffWriter& out) {
        out.AppendUnsplit(0x00FC, Concat({SstHeader(3), ByteWriter().U16(2).U8(0).Bytes("ok").U16(10).U8(0).Bytes(
                                                            "cut").Take()}));
      },
      3);
  auto file = MustOpen(stream, "cut.xls");
  auto sheet = file->worksheet(0);
  ASSERT_FALSE(sheet.ok());
  EXPECT_EQ(sheet.status().code(), ErrorCode::kDamaged);
  EXPECT_NE(sheet.status().description().find("shared string 2"), std::string::npos)
      << sheet.status().description();
}

TEST(StringRecordTest, FormulaTextContinuesAcrossRecords) {
  const std::string long_text = "Résumé " + std::string(300, '.') + " Ünïcode ☃ end";
  for (BiffVersion version : {BiffVersion::kBiff5, BiffVersion::kBiff8}) {
    WorkbookBuilder book(version);
    book.SetMaxRecordPayload(64);
    if (version == BiffVersion::kBiff5) {
      book.AddSheet("S").FormulaText(0, 0, std::string(200, 'b') + "é");
    } else {
      book.AddSheet("S").FormulaText(0, 0, long_text);
    }
    book.sheet(0).Number(1, 0, 5);
    auto file = MustOpen(book);
    const SheetData& data = MustRead(*file);
    EXPECT_EQ(data.cell(0, 0).text, version == BiffVersion::kBiff5 ? std::string(200, 'b') + "é" : long_text);
    EXPECT_EQ(Show(data.cell(1, 0)), "number 5");
  }
}

// Byte strings of BIFF2-5 in the code page the CODEPAGE record names.
struct CodePageCase {
  uint16_t codepage;
  std::string bytes;
  std::string utf8;
};

TEST(CodePageTest, DecodesTheNamedCodePage) {
  const CodePageCase cases[] = {
      {1252, "\x80 caf\xE9", "€ café"},          {1250, "\x8A\xE8", "Šč"},
      {1251, "\xCF\xF0\xE8", "При"},            {1253, "\xC1\xE2", "Αβ"},
      {1254, "\xD0\xFD", "Ğı"},                  {1255, "\xE0\xE1", "אב"},
      {1256, "\xC7\xE1", "ال"},                  {1257, "\xC0\xE0", "Ąą"},
      {1258, "\xC3\xD2", "Ă\xCC\x89"},           {874, "\xA1\xD2", "กา"},
      {437, "\x81\xB0", "ü░"},                   {850, "\x9B\x9D", "øØ"},
      {852, "\xA5\xA4", "ąĄ"},                   {866, "\x80\xAF", "Ап"},
      {10000, "\x80\xA5", "Ä•"},                 {32768, "\x80", "Ä"},
      {32769, "\x80", "€"},                      {367, "A\x80", "A€"},
      {932, "\x82\xA0" "A\xB1", "あAｱ"},          {936, "\xC4\xE3" "b\x80", "你b€"},
      {949, "\xC7\xD1\xB1\xB9", "한국"},          {950, "\xBB\x4F\xA5\x5F", "臺北"},
      {1200, std::string("A\0\x2D\x4E", 4), "A中"},              {737, "\x80\xE0", "Αω"},
      {936, "\xC4", "\xEF\xBF\xBD"},             {936, "\xC4" "1", "\xEF\xBF\xBD" "1"},
      {12345, "\xE9" "a", "?a"},                    {1361, "\x88\x61", "?a"},                      {1252, std::string("nul\0byte", 8), std::string("nul\0byte", 8)},
  };
  for (const CodePageCase& c : cases) {
    std::string out;
    xls::CodePage::FromRecordValue(c.codepage).AppendUtf8(
        xls::Bytes(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size()), &out);
    EXPECT_EQ(out, c.utf8) << c.codepage;
  }
}

TEST(CodePageTest, WorkbookTextsUseTheCodepageRecordOrWindows1252) {
  struct Case {
    BiffVersion version;
    std::optional<uint16_t> codepage;
    std::string bytes;
    std::string expected;
  } cases[] = {
      {BiffVersion::kBiff5, 1251, "\xCF\xF0\xE8\xE2\xE5\xF2", "Привет"},
      {BiffVersion::kBiff5, 10000, "\x8A\x9A", "äö"},
      {BiffVersion::kBiff4, 850, "\x82t\x82", "été"},
      {BiffVersion::kBiff3, 1250, "\x9E", "ž"},
      {BiffVersion::kBiff2, std::nullopt, "\x80\x85", "€…"},
      {BiffVersion::kBiff4Workbook, 437, "\x81\xE1", "üß"},
      {BiffVersion::kBiff5, 1361, "A\x88\x61\xE9", "A?a?"},  // Johab: no table, yet readable
  };
  for (const Case& c : cases) {
    WorkbookBuilder book(c.version);
    if (c.codepage) {
      book.SetCodepage(*c.codepage);
    } else {
      book.OmitCodepage();
    }
    book.AddSheet("S").LabelBytes(0, 0, c.bytes);
    auto file = MustOpen(book);
    EXPECT_EQ(MustRead(*file).cell(0, 0).text, c.expected) << c.expected;
  }
}

TEST(CodePageTest, SheetNamesOfBiff5UseTheCodePage) {
  WorkbookBuilder book(BiffVersion::kBiff5);
  book.SetCodepage(1251);
  book.AddSheet("Лист один").Number(0, 0, 1);
  book.AddSheet("Данные").Number(0, 0, 1);
  auto file = MustOpen(book);
  ASSERT_EQ(file->worksheet_count(), 2u);
  EXPECT_EQ(file->worksheet_name(0), "Лист один");
  EXPECT_EQ(file->worksheet_name(1), "Данные");
}

// BIFF5 workbooks of the double-byte pages: sheet names, headers and texts
// come back whole, also a text whose record ends between the two bytes of a
// character and goes on in a CONTINUE record.
TEST(CodePageTest, DoubleByteWorkbooksKeepEveryCharacter) {
  struct Case {
    uint16_t codepage;
    std::string first_sheet;
    std::string second_sheet;
    std::string header;
    std::string text;
  } const cases[] = {
      {932, "東京", "大阪", "品番", "ｱ日本語東京都大阪市区町村品番価格商品名売上担当者"},
      {936, "北京", "上海", "单价（元）", "a华东区销售报表订单日期金额备注客户城市产品名称"},
      {949, "서울", "부산", "이름", "a한국어서울가나다라마바사이름금액부산지점매출표"},
      {950, "臺北", "資料", "單價", "a臺北資料表姓名金額備註客戶城市產品名稱銷售數量"},
  };
  for (const Case& c : cases) {
    WorkbookBuilder book(BiffVersion::kBiff5);
    book.SetCodepage(c.codepage);
    // LABEL: 8 bytes before the text, then 1 + 2n bytes: the record ends inside a character.
    book.SetMaxRecordPayload(8 + 1 + 2 * 5 + 1);
    book.AddSheet(c.first_sheet).Text(0, 0, c.header).Text(1, 0, c.text);
    book.AddSheet(c.second_sheet).Text(0, 0, c.header);
    auto file = MustOpen(book);
    ASSERT_EQ(file->worksheet_count(), 2u) << c.codepage;
    EXPECT_EQ(file->worksheet_name(0), c.first_sheet) << c.codepage;
    EXPECT_EQ(file->worksheet_name(1), c.second_sheet) << c.codepage;
    const SheetData& data = MustRead(*file);
    EXPECT_EQ(data.cell(0, 0).text, c.header) << c.codepage;
    EXPECT_EQ(data.cell(1, 0).text, c.text) << c.codepage;
  }
}

}  // namespace
}  // namespace dravella::engine
