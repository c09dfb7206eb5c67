// Record splitting: plain CONTINUE records, and the string-aware splits of
// SST and STRING checked by a decoder written from the format's rules.
#include <gtest/gtest.h>

#include <numeric>

#include "tests/support/selftest/independent_readers.h"
#include "tests/support/xls_builder.h"

namespace dravella::testing {
namespace {

using selftest::Le16;
using selftest::Le32;
using selftest::RawRecord;
using selftest::SplitRecords;

std::vector<size_t> PartSizes(const std::vector<RawRecord>& records) {
  std::vector<size_t> sizes;
  for (const RawRecord& r : records) sizes.push_back(r.payload.size());
  return sizes;
}

TEST(BiffWriterSplit, LongPayloadsGoOnInContinueRecordsAtTheLimit) {
  struct Case {
    size_t limit;
    size_t payload;
    std::vector<size_t> parts;
  };
  const Case cases[] = {
      {kBiff8MaxRecordPayload, 0, {0}},
      {kBiff8MaxRecordPayload, 8224, {8224}},
      {kBiff8MaxRecordPayload, 8225, {8224, 1}},
      {kBiff8MaxRecordPayload, 20000, {8224, 8224, 3552}},
      {kBiff5MaxRecordPayload, 2081, {2080, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.payload);
    std::vector<uint8_t> payload(c.payload);
    std::iota(payload.begin(), payload.end(), 0);
    BiffWriter writer(c.limit);
    writer.Append(0x00FC, payload);
    const auto records = SplitRecords(writer.bytes());
    EXPECT_EQ(PartSizes(records), c.parts);
    std::vector<uint8_t> joined;
    for (size_t i = 0; i < records.size(); ++i) {
      EXPECT_EQ(records[i].id, i == 0 ? 0x00FC : record::kContinue);
      joined.insert(joined.end(), records[i].payload.begin(), records[i].payload.end());
    }
    EXPECT_EQ(joined, payload);
  }
}

TEST(BiffWriterSplit, CutsWhereTheTestSaysAndOnlyThere) {
  const std::vector<uint8_t> payload = {1, 2, 3, 4, 5, 6};
  BiffWriter writer;
  const size_t cuts[] = {1, 1, 4};
  writer.AppendSplitAt(0x0207, payload, cuts).AppendUnsplit(0x0006, std::vector<uint8_t>(9000));
  EXPECT_EQ(PartSizes(SplitRecords(writer.bytes())), (std::vector<size_t>{1, 0, 3, 2, 9000}));
  const size_t backwards[] = {4, 2};
  EXPECT_THROW(writer.AppendSplitAt(0x0207, payload, backwards), std::invalid_argument);
}

// One decoded SST string with where it began.
struct DecodedString {
  std::u16string text;
  std::vector<uint8_t> runs;
  std::vector<uint8_t> phonetic;
  size_t stream_offset = 0;   // of its first header byte
  size_t record_offset = 0;   // the same within its record, header included
};

// Reads SST and its CONTINUE records by the format's rules; fails the test
// when the writer broke one (a string header cut, a character cut in half).
class SstDecoder {
 public:
  explicit SstDecoder(const std::vector<RawRecord>& records, size_t first) {
    parts_.push_back(&records.at(first));
    for (size_t i = first + 1; i < records.size() && records[i].id == record::kContinue; ++i) {
      parts_.push_back(&records[i]);
    }
  }

  std::vector<DecodedString> Decode(uint32_t* total, uint32_t* unique) {
    *total = Le32(Part(), 0);
    *unique = Le32(Part(), 4);
    pos_ = 8;
    std::vector<DecodedString> strings;
    for (uint32_t i = 0; i < *unique; ++i) {
      if (pos_ == Part().size()) NextPart();  // a string may start a CONTINUE, with no option byte
      DecodedString s;
      s.stream_offset = parts_[part_]->offset + 4 + pos_;
      s.record_offset = 4 + pos_;
      const uint16_t count = Header16();
      const uint8_t flags = Header8();
      const uint16_t runs = (flags & 0x08) ? Header16() : 0;
      const uint32_t phonetic = (flags & 0x04) ? Header32() : 0;
      bool wide = flags & 0x01;
      while (s.text.size() < count) {
        if (pos_ == Part().size()) {
          NextPart();
          const uint8_t option = Part().at(pos_++);
          EXPECT_LE(option, 1) << "continued characters start with the option byte";
          wide = option & 0x01;
          continue;
        }
        if (wide) {
          EXPECT_GE(Part().size() - pos_, 2u) << "a character cut in half";
          s.text.push_back(static_cast<char16_t>(Le16(Part(), pos_)));
          pos_ += 2;
        } else {
          s.text.push_back(Part().at(pos_++));
        }
      }
      for (uint16_t r = 0; r < runs; ++r) {
        if (pos_ == Part().size()) NextPart();
        EXPECT_GE(Part().size() - pos_, 4u) << "a formatting run cut";
        s.runs.insert(s.runs.end(), Part().begin() + pos_, Part().begin() + pos_ + 4);
        pos_ += 4;
      }
      for (uint32_t b = 0; b < phonetic; ++b) {
        if (pos_ == Part().size()) NextPart();
        s.phonetic.push_back(Part().at(pos_++));
      }
      strings.push_back(std::move(s));
    }
    EXPECT_EQ(pos_, Part().size()) << "bytes left after the last string";
    EXPECT_EQ(part_ + 1, parts_.size()) << "CONTINUE records left after the last string";
    return strings;
  }

 private:
  const std::vector<uint8_t>& Part() const { return parts_.at(part_)->payload; }
  void NextPart() {
    ++part_;
    pos_ = 0;
    ASSERT_LT(part_, parts_.size()) << "SST ends early";
  }
  void CheckHeaderRoom(size_t bytes) {
    EXPECT_LE(pos_ + bytes, Part().size()) << "a string header cut across records";
  }
  uint8_t Header8() {
    CheckHeaderRoom(1);
    return Part().at(pos_++);
  }
  uint16_t Header16() {
    CheckHeaderRoom(2);
    pos_ += 2;
    return Le16(Part(), pos_ - 2);
  }
  uint32_t Header32() {
    CheckHeaderRoom(4);
    pos_ += 4;
    return Le32(Part(), pos_ - 4);
  }

  std::vector<const RawRecord*> parts_;
  size_t part_ = 0;
  size_t pos_ = 0;
};

size_t FindRecord(const std::vector<RawRecord>& records, uint16_t id) {
  for (size_t i = 0; i < records.size(); ++i) {
    if (records[i].id == id) return i;
  }
  return records.size();
}

std::string Repeat(std::string_view piece, size_t times) {
  std::string out;
  for (size_t i = 0; i < times; ++i) out += piece;
  return out;
}

TEST(SharedStringTableSplit, StringsSurviveEveryCutTheWriterMakes) {
  struct Case {
    const char* what;
    size_t limit;
    bool recompress;
  };
  const Case cases[] = {
      {"Excel's limit", kBiff8MaxRecordPayload, false},
      {"a tiny limit, cuts everywhere", 40, false},
      {"a tiny limit, recompressed continuations", 41, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WorkbookBuilder book;
    book.SetMaxRecordPayload(c.limit).SetSstRecompressContinuations(c.recompress);
    SheetBuilder& sheet = book.AddSheet("S");
    // Texts that cross records: long ASCII, long 16-bit, 16-bit then Latin,
    // the empty string, one with runs and phonetic data.
    const std::vector<std::string> texts = {
        "", "short", Repeat("abcdefghij", 1000), Repeat("\xCE\xB1\xCE\xB2\xCE\xB3", 3000),
        "\xE6\x97\xA5" + Repeat("latin after a CJK start ", 400), "Zo\xC3\xAB and J\xC3\xBCrgen"};
    for (size_t i = 0; i < texts.size(); ++i) sheet.Text(static_cast<uint16_t>(i), 0, texts[i]);
    sheet.Text(10, 0, "short");  // shares entry 1
    const uint32_t rich = book.AddSharedString(
        {Repeat("rich ", 30), {{0, 1}, {5, 2}, {10, 3}}, PhoneticBlock(u"\u30EA\u30C3\u30C1", 150)});
    sheet.SharedStringCell(11, 0, rich);

    StreamLayout layout;
    const std::vector<uint8_t> stream = book.BuildStream(&layout);
    const auto records = SplitRecords(stream);
    for (const RawRecord& r : records) ASSERT_LE(r.payload.size(), c.limit);
    const size_t sst = FindRecord(records, record::kSst);
    ASSERT_LT(sst, records.size());
    EXPECT_EQ(records[sst].offset, layout.sst_offset);

    uint32_t total = 0, unique = 0;
    SstDecoder decoder(records, sst);
    const std::vector<DecodedString> decoded = decoder.Decode(&total, &unique);
    EXPECT_EQ(total, 8u);  // LABELSST cells
    ASSERT_EQ(unique, texts.size() + 1);
    for (size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(decoded[i].text, Utf8ToUtf16(texts[i])) << i;
    EXPECT_EQ(decoded.back().runs, (std::vector<uint8_t>{0, 0, 1, 0, 5, 0, 2, 0, 10, 0, 3, 0}));
    EXPECT_EQ(decoded.back().phonetic, PhoneticBlock(u"\u30EA\u30C3\u30C1", 150));

    // EXTSST: every eighth string, where it begins in the stream and in its record.
    const size_t ext = FindRecord(records, record::kExtSst);
    ASSERT_LT(ext, records.size());
    const std::vector<uint8_t>& e = records[ext].payload;
    EXPECT_EQ(Le16(e, 0), 8);
    ASSERT_EQ(e.size(), 2u + 8u);  // 7 strings: one bucket
    EXPECT_EQ(Le32(e, 2), decoded[0].stream_offset);
    EXPECT_EQ(Le16(e, 6), decoded[0].record_offset);
  }
}

TEST(SharedStringTableSplit, ContinuedCharactersRestateTheirWidth) {
  // 16-bit characters cut at the limit: the CONTINUE begins with 0x01; with
  // recompression a Latin rest begins with 0x00 and one byte per character.
  struct Case {
    bool recompress;
    uint8_t option;
    size_t continue_records;  // for the 30 characters after the first 10
  };
  const Case cases[] = {{false, 0x01, 2}, {true, 0x00, 1}};
  for (const Case& c : cases) {
    WorkbookBuilder book;
    book.SetMaxRecordPayload(8 + 3 + 2 * 10).SetSstRecompressContinuations(c.recompress);
    book.AddSheet("S").Text(0, 0, "\xE2\x82\xAC" + std::string(39, 'x'));  // a euro sign, then Latin
    const auto records = SplitRecords(book.BuildStream());
    const size_t sst = FindRecord(records, record::kSst);
    ASSERT_EQ(records[sst + 1].id, record::kContinue);
    EXPECT_EQ(records[sst].payload.size(), 8u + 3u + 20u);  // counts, header, 10 characters
    for (size_t k = 1; k <= c.continue_records; ++k) {
      EXPECT_EQ(records[sst + k].id, record::kContinue);
      EXPECT_EQ(records[sst + k].payload.at(0), c.option);
      EXPECT_EQ(records[sst + k].payload.size(), 31u);  // the option byte and 30 bytes of characters
    }
    EXPECT_EQ(records[sst + c.continue_records + 1].id, record::kExtSst);
  }
}

TEST(StringRecordSplit, LongCachedFormulaTextsContinueWithTheOptionByte) {
  WorkbookBuilder book;
  const std::string text = Repeat("\xD0\x96", 6000);  // 12000 bytes as 16-bit characters
  book.AddSheet("S").FormulaText(0, 0, text);
  const auto records = SplitRecords(book.BuildStream());
  const size_t string = FindRecord(records, record::kString);
  ASSERT_LT(string, records.size());
  EXPECT_EQ(records[string - 1].id, record::kFormula);
  ASSERT_EQ(records[string + 1].id, record::kContinue);
  EXPECT_EQ(Le16(records[string].payload, 0), 6000);
  EXPECT_EQ(records[string].payload.size(), 8224u - 1);  // 3 header bytes + 4110 whole characters
  EXPECT_EQ(records[string + 1].payload.at(0), 0x01);
  EXPECT_EQ(records[string + 1].payload.size(), 1u + 2 * (6000 - 4110));
}

}  // namespace
}  // namespace dravella::testing
