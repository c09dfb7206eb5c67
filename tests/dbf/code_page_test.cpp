// Code pages: the table of their facts, texts written in them, and both
// directions of every page compared with Python's codecs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "engine/code_pages.h"
#include "engine/dbf/code_page.h"
#include "engine/dbf/dbf_options.h"
#include "engine/text_codec.h"
#include "engine/utf8.h"
#include "tests/dbf/dbf_test_files.h"

namespace dravella::engine::dbf {
namespace {

using testing::ScratchFolder;

std::string Encoded(std::string_view utf8, CodePage page, size_t* replaced = nullptr) {
  std::string out;
  EncodeAppend(utf8, page, out, replaced);
  return out;
}

std::string Hex(std::string_view bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out.push_back(kDigits[c >> 4]);
    out.push_back(kDigits[c & 15]);
  }
  return out;
}

TEST(CodePage, EveryRowOfTheTableIsWhole) {
  // Header byte 29 of each page, as dBASE defines them.
  const std::pair<uint16_t, uint8_t> drivers[] = {
      {437, 0x01},  {737, 0x6A},  {850, 0x02},  {852, 0x64},  {857, 0x6B},  {860, 0x24},
      {861, 0x67},  {863, 0x1C},  {865, 0x66},  {866, 0x65},  {874, 0x7C},  {932, 0x7B},
      {936, 0x7A},  {949, 0x79},  {950, 0x78},  {1250, 0xC8}, {1251, 0xC9}, {1252, 0x03},
      {1253, 0xCB}, {1254, 0xCA}, {1255, 0x7D}, {1256, 0x7E}, {1257, 0xCC}, {65001, 0x00},
  };
  ASSERT_EQ(TableCodePages().size(), std::size(drivers));
  std::set<std::string_view> keys;
  for (const auto& [number, driver] : drivers) {
    const CodePageFacts* facts = CodePageFactsOf(number);
    ASSERT_NE(facts, nullptr) << number;
    const auto page = static_cast<CodePage>(number);
    EXPECT_EQ(LanguageDriverOf(page), driver) << number;
    EXPECT_TRUE(keys.insert(facts->key).second) << facts->key;
    EXPECT_EQ(ParseCodePage(facts->key), page) << number;
    EXPECT_EQ(ParseCodePage(std::to_string(number)), page) << number;
    EXPECT_EQ(ParseCodePage("CP" + std::to_string(number)), page) << number;
    const std::string shown = number == kUtf8CodePage ? "UTF-8" : std::string(facts->key);
    EXPECT_TRUE(facts->name.starts_with(shown + " - ")) << facts->name;
    EXPECT_EQ(facts->table == nullptr, number == kUtf8CodePage) << number;
    EXPECT_EQ(CpgTextOf(page), number == kUtf8CodePage ? "UTF-8" : "") << number;
  }
  EXPECT_EQ(CodePageFactsOf(936)->name, "936 - Chinese Simplified (GBK)");
  EXPECT_EQ(CodePageKeyList(),
            "437, 737, 850, 852, 857, 860, 861, 863, 865, 866, 874, 932, 936, 949, 950, "
            "1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, utf8");
}

TEST(CodePage, SpellingsUsersType) {
  for (const char* utf8 : {"utf8", "UTF8", "utf-8", "Utf-8", "65001", "cp65001"}) {
    EXPECT_EQ(ParseCodePage(utf8), CodePage::kUtf8) << utf8;
  }
  EXPECT_EQ(ParseCodePage("Cp936"), CodePage::k936);
  for (const char* unknown : {"", "1258", "10000", "utf16", " 1252", "1252 ", "cp", "utf", "gbk"}) {
    EXPECT_EQ(ParseCodePage(unknown), std::nullopt) << unknown;
  }
}

TEST(CodePage, LevelsFromFileFormatCodes) {
  EXPECT_EQ(DbfLevelFromFileFormat(7), DbfLevel::kDbase2);
  EXPECT_EQ(DbfLevelFromFileFormat(8), DbfLevel::kDbase3);
  EXPECT_EQ(DbfLevelFromFileFormat(11), DbfLevel::kDbase4);
  for (int other : {0, 6, 9, 10, 12, -8}) EXPECT_EQ(DbfLevelFromFileFormat(other), std::nullopt);
}

TEST(CodePage, CharactersThePageCannotHoldBecomeQuestionMarks) {
  // "é€Жωşü" as Python's codecs write it with errors='replace'; 936 writes
  // the euro sign as Windows does (0x80), where Python's gbk has none.
  struct Case {
    CodePage page;
    const char* hex;
  } const cases[] = {
      {CodePage::k437, "823f3f3f3f81"},    {CodePage::k737, "3f3f3fe03f3f"},
      {CodePage::k850, "823f3f3f3f81"},    {CodePage::k852, "823f3f3fad81"},
      {CodePage::k857, "823f3f3f9f81"},    {CodePage::k860, "823f3f3f3f81"},
      {CodePage::k861, "823f3f3f3f81"},    {CodePage::k863, "823f3f3f3f81"},
      {CodePage::k865, "823f3f3f3f81"},    {CodePage::k866, "3f3f863f3f3f"},
      {CodePage::k874, "3f803f3f3f3f"},    {CodePage::k932, "3f3f844783d63f3f"},
      {CodePage::k936, "a8a680a7a8a6d83fa8b9"}, {CodePage::k949, "3fa2e6aca8a5f83f3f"},
      {CodePage::k950, "3fa3e1c7b4a3733f3f"},   {CodePage::k1250, "e9803f3fbafc"},
      {CodePage::k1251, "3f88c63f3f3f"},   {CodePage::k1252, "e9803f3f3ffc"},
      {CodePage::k1253, "3f803ff93f3f"},   {CodePage::k1254, "e9803f3ffefc"},
      {CodePage::k1255, "3f803f3f3f3f"},   {CodePage::k1256, "e9803f3f3ffc"},
      {CodePage::k1257, "e9803f3f3ffc"},
  };
  for (const Case& c : cases) {
    size_t replaced = 0;
    const std::string bytes = Encoded("é€Жωşü", c.page, &replaced);
    EXPECT_EQ(Hex(bytes), c.hex) << static_cast<int>(c.page);
    size_t marks = 0;
    for (char b : bytes) marks += b == '?';
    EXPECT_EQ(replaced, marks) << static_cast<int>(c.page);
  }
  size_t replaced = 0;
  EXPECT_EQ(Encoded("a😀b", CodePage::k1252, &replaced), "a?b");
  EXPECT_EQ(Encoded("a😀b", CodePage::k936), "a?b");
  EXPECT_EQ(Encoded("a😀b", CodePage::kUtf8, &replaced), "a😀b");
  EXPECT_EQ(replaced, 1u);
}

TEST(CodePage, MalformedUtf8BecomesOneQuestionMarkPerByte) {
  struct Case {
    std::string input;
    std::string output;
  } const cases[] = {
      {"a\xFF" "b", "a?b"},          {"\xC3", "?"},              {"\xE2\x82", "??"},
      {"\xC0\xAF", "??"},            {"\xED\xA0\x80", "???"},    {"\xF4\x90\x80\x80", "????"},
      {"\x80z", "?z"},
  };
  auto hex = [](const std::string& s) { return Hex(s); };
  for (const Case& c : cases) {
    for (CodePage page : {CodePage::kUtf8, CodePage::k1252, CodePage::k950}) {
      size_t replaced = 0;
      EXPECT_EQ(Encoded(c.input, page, &replaced), c.output) << hex(c.input);
      EXPECT_EQ(replaced, static_cast<size_t>(std::count(c.output.begin(), c.output.end(), '?')))
          << hex(c.input);
    }
  }
}

TEST(CodePage, CutsOnlyAtCharacterBoundaries) {
  const std::string text = "ab" "é" "€";  // UTF-8: 2 + 2 + 3 bytes
  char out[16];
  EXPECT_EQ(EncodeInto(text, CodePage::kUtf8, out, 7), 7u);
  EXPECT_EQ(EncodeInto(text, CodePage::kUtf8, out, 6), 4u);  // € does not fit whole
  EXPECT_EQ(EncodeInto(text, CodePage::kUtf8, out, 3), 2u);
  EXPECT_EQ(EncodeInto(text, CodePage::k1252, out, 3), 3u);
  EXPECT_EQ(std::string(out, 3), "ab\xE9");

  const EncodedSize utf8 = MeasureEncoded(text, CodePage::kUtf8, 6);
  EXPECT_EQ(utf8.whole, 7u);
  EXPECT_EQ(utf8.cut, 4u);
  const EncodedSize ansi = MeasureEncoded(text, CodePage::k1252, 3);
  EXPECT_EQ(ansi.whole, 4u);
  EXPECT_EQ(ansi.cut, 3u);

  // Double-byte pages: "a单价b" is 1 + 2 + 2 + 1 bytes in GBK; a half-width
  // katakana is one byte in Shift-JIS.
  const std::string chinese = "a单价b";
  for (size_t limit : {0u, 1u, 2u, 3u, 4u, 5u, 6u}) {
    const size_t fits = limit < 3 ? std::min<size_t>(limit, 1) : limit < 5 ? 3 : limit;
    EXPECT_EQ(EncodeInto(chinese, CodePage::k936, out, limit), fits) << limit;
    EXPECT_EQ(MeasureEncoded(chinese, CodePage::k936, limit).cut, fits) << limit;
  }
  EXPECT_EQ(MeasureEncoded(chinese, CodePage::k936, 3).whole, 6u);
  EXPECT_EQ(EncodeInto("ｱ日", CodePage::k932, out, 2), 1u);
  EXPECT_EQ(Hex(std::string(out, 1)), "b1");
}

// Prints, for each page given, how Python's codecs write every character of
// the Basic Multilingual Plane (2 bytes each: the code, 0 when the page
// cannot hold it) and read every byte and byte pair above ASCII.
constexpr const char* kCodecDump = R"(
import sys
CODECS = {'936': 'gbk', '949': 'cp949', '950': 'cp950', '932': 'cp932'}
out = sys.stdout.buffer
for number in sys.argv[1:]:
    codec = CODECS.get(number, 'cp' + number)
    for cp in range(0x10000):
        code = 0
        if cp >= 0x80 and not 0xD800 <= cp <= 0xDFFF:
            try:
                code = int.from_bytes(chr(cp).encode(codec), 'big')
            except UnicodeEncodeError:
                pass
        out.write(code.to_bytes(2, 'big'))
    for b in range(0x80, 0x100):
        try:
            text = bytes([b]).decode(codec)
        except UnicodeDecodeError:
            text = ''
        out.write((ord(text) if len(text) == 1 else 0).to_bytes(2, 'big'))
    for lead in range(0x80, 0x100):
        for trail in range(0x40, 0xFF):
            try:
                text = bytes([lead, trail]).decode(codec)
            except UnicodeDecodeError:
                text = ''
            out.write((ord(text) if len(text) == 1 else 0).to_bytes(2, 'big'))
)";

TEST(CodePage, EveryCharacterAsPythonsCodecsHaveIt) {
  const std::filesystem::path python = DRAVELLA_SYSTEM_PYTHON;
  if (!std::filesystem::exists(python)) GTEST_SKIP() << python << " is missing";
  ScratchFolder folder;
  std::ofstream(folder / "dump.py") << kCodecDump;
  std::string command = python.string() + " " + (folder / "dump.py").string();
  std::vector<uint16_t> pages;
  for (const CodePageFacts& facts : TableCodePages()) {
    if (facts.number == kUtf8CodePage) continue;
    pages.push_back(facts.number);
    command += " " + std::to_string(facts.number);
  }
  std::FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string dump;
  char buffer[65536];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) dump.append(buffer, n);
  ASSERT_EQ(pclose(pipe), 0);
  constexpr size_t kPairs = 128 * 191;
  const size_t per_page = 2 * (0x10000 + 128 + kPairs);
  ASSERT_EQ(dump.size(), per_page * pages.size());

  size_t at = 0;
  auto next = [&]() {
    const auto value = static_cast<uint16_t>((static_cast<uint8_t>(dump[at]) << 8) | static_cast<uint8_t>(dump[at + 1]));
    at += 2;
    return value;
  };
  for (uint16_t number : pages) {
    const CharacterEncoder encoder(number);
    int wrong = 0;
    for (char32_t c = 0; c < 0x10000; ++c) {
      uint16_t python_code = next();
      if (c < 0x80) python_code = static_cast<uint16_t>(c);
      if (number == 936 && c == 0x20AC) python_code = 0x80;  // Windows' euro sign
      if (encoder.CodeOf(c) != python_code && ++wrong <= 3) {
        ADD_FAILURE() << number << " writes U+" << std::hex << static_cast<uint32_t>(c) << " as "
                      << encoder.CodeOf(c) << ", Python as " << python_code;
      }
    }
    const ByteDecoder decoder(CodePageTableOf(number));
    auto decoded = [&](std::initializer_list<uint8_t> bytes) {
      std::string out;
      decoder.AppendUtf8(std::span<const uint8_t>(bytes.begin(), bytes.size()), &out);
      return out;
    };
    for (int b = 0x80; b < 0x100; ++b) {
      uint16_t python_char = next();
      if (number == 936 && b == 0x80) python_char = 0x20AC;
      std::string expected;
      AppendUtf8(python_char == 0 ? 0xFFFD : python_char, &expected);
      if (decoded({static_cast<uint8_t>(b)}) != expected && ++wrong <= 3) {
        ADD_FAILURE() << number << " reads byte " << std::hex << b << " otherwise than Python";
      }
    }
    for (int lead = 0x80; lead < 0x100; ++lead) {
      for (int trail = 0x40; trail < 0xFF; ++trail) {
        const uint16_t python_char = next();
        if (python_char == 0) continue;  // Python rejects the pair
        std::string expected;
        AppendUtf8(python_char, &expected);
        const std::string ours = decoded({static_cast<uint8_t>(lead), static_cast<uint8_t>(trail)});
        const bool single = CodePageTableOf(number)->upper[lead - 0x80] != kLeadByte;
        if (!single && ours != expected && ++wrong <= 3) {
          ADD_FAILURE() << number << " reads " << std::hex << lead << " " << trail << " otherwise than Python";
        }
      }
    }
    EXPECT_EQ(wrong, 0) << number;
  }
}

}  // namespace
}  // namespace dravella::engine::dbf
