// Code pages: their names, header bytes, and texts written in them.
#include <gtest/gtest.h>

#include <string>

#include "engine/dbf/code_page.h"
#include "engine/dbf/dbf_options.h"

namespace dravella::engine::dbf {
namespace {

std::string Encoded(std::string_view utf8, CodePage page) {
  std::string out;
  EncodeAppend(utf8, page, out);
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

TEST(CodePage, NamesAndLanguageDriverBytes) {
  struct Case {
    const char* name;
    CodePage page;
    uint8_t driver;
  } const cases[] = {
      {"437", CodePage::k437, 0x01},   {"850", CodePage::k850, 0x02},
      {"852", CodePage::k852, 0x64},   {"866", CodePage::k866, 0x65},
      {"1250", CodePage::k1250, 0xC8}, {"1251", CodePage::k1251, 0xC9},
      {"1252", CodePage::k1252, 0x03}, {"1253", CodePage::k1253, 0xCB},
      {"1254", CodePage::k1254, 0xCA}, {"1257", CodePage::k1257, 0xCC},
      {"utf8", CodePage::kUtf8, 0x00},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseCodePage(c.name), c.page) << c.name;
    EXPECT_EQ(LanguageDriverOf(c.page), c.driver) << c.name;
  }
  EXPECT_EQ(ParseCodePage("UTF-8"), CodePage::kUtf8);
  for (const char* unknown : {"", "1255", "cp1252", "65001", "utf16", " 1252"}) {
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
  // é € Ж ω ş, then ü: what Python's codecs give with errors='replace'.
  struct Case {
    CodePage page;
    const char* hex;
  } const cases[] = {
      {CodePage::k437, "823f3f3f3f81"},   {CodePage::k850, "823f3f3f3f81"},
      {CodePage::k852, "823f3f3fad81"},   {CodePage::k866, "3f3f863f3f3f"},
      {CodePage::k1250, "e9803f3fbafc"},  {CodePage::k1251, "3f88c63f3f3f"},
      {CodePage::k1252, "e9803f3f3ffc"},  {CodePage::k1253, "3f803ff93f3f"},
      {CodePage::k1254, "e9803f3ffefc"},  {CodePage::k1257, "e9803f3f3ffc"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Hex(Encoded("é€Жωşü", c.page)), c.hex) << static_cast<int>(c.page);
  }
  // One '?' per character, even beyond the Basic Multilingual Plane.
  EXPECT_EQ(Encoded("a😀b", CodePage::k1252), "a?b");
  EXPECT_EQ(Encoded("a😀b", CodePage::kUtf8), "a😀b");
}

TEST(CodePage, MalformedUtf8BecomesOneQuestionMarkPerByte) {
  const struct {
    std::string_view input;
    const char* output;
  } cases[] = {
      {"a\x80z", "a?z"},             // stray continuation byte
      {"a\xC3", "a?"},               // cut short at the end
      {"a\xC0\xAFz", "a??z"},        // overlong '/'
      {"a\xED\xA0\x80z", "a???z"},   // a surrogate
      {"a\xF4\x90\x80\x80z", "a????z"},  // beyond U+10FFFF
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Encoded(c.input, CodePage::kUtf8), c.output) << Hex(c.input);
    EXPECT_EQ(Encoded(c.input, CodePage::k1252), c.output) << Hex(c.input);
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
}

}  // namespace
}  // namespace dravella::engine::dbf
