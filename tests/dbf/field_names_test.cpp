// Field names: cleaning, FIELDn, the F prefix, the cut to 10 bytes, _2, _3 ...,
// and the letters and digits of every script a code page holds.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/dbf/field_names.h"
#include "engine/unicode_tables.h"
#include "tests/dbf/dbf_test_files.h"

namespace dravella::engine::dbf {
namespace {

using Names = std::vector<std::string>;

TEST(FieldNames, CleansEachHeaderText) {
  const Names headers = {"Name",    "first name", "Straße",  "日本語",        "",
                         "123abc",  "_id",        "averyveryverylongname", "a-b.c",
                         "😀x",     "1234567890123", "Ab9_z",  "\xFF" "ab", "  "};
  const Names expected = {"NAME",    "FIRST_NAME", "STRA\xDF" "E", "F___",       "FIELD5",
                          "F123ABC", "F_ID",       "AVERYVERYV", "A_B_C",
                          "F_X",     "F123456789", "AB9_Z",   "F_AB",       "F__"};
  EXPECT_EQ(MakeFieldNames(headers), expected);
}

TEST(FieldNames, RepeatedNamesGetTheFirstFreeSuffix) {
  struct Case {
    Names headers;
    Names names;
  } const cases[] = {
      {{"A", "a", "A"}, {"A", "A_2", "A_3"}},
      {{"X", "X_2", "X"}, {"X", "X_2", "X_3"}},
      {{"LONGNAME10", "LongName10"}, {"LONGNAME10", "LONGNAME_2"}},
      {{"FIELD2", ""}, {"FIELD2", "FIELD2_2"}},
      {{"", "FIELD1"}, {"FIELD1", "FIELD1_2"}},
      {{"long name one", "long name two"}, {"LONG_NAME_", "LONG_NAM_2"}},
      {Names(11, "ABCDEFGHIJ"),
       {"ABCDEFGHIJ", "ABCDEFGH_2", "ABCDEFGH_3", "ABCDEFGH_4", "ABCDEFGH_5", "ABCDEFGH_6",
        "ABCDEFGH_7", "ABCDEFGH_8", "ABCDEFGH_9", "ABCDEFG_10", "ABCDEFG_11"}},
  };
  for (const Case& c : cases) EXPECT_EQ(MakeFieldNames(c.headers), c.names);
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

// The names as bytes in each code page; the expected bytes are what the
// names' rules give with Python's unicodedata and codecs.
TEST(FieldNames, KeepTheLettersOfEveryScriptThePageHolds) {
  struct Case {
    CodePage page;
    Names headers;
    Names hex;
  } const cases[] = {
      {CodePage::k1252,
       {"Größe", "Имя", "µm", "ÿes", "1st"},
       {"4752d6df45", "465f5f5f", "b54d", "9f4553", "46315354"}},
      {CodePage::k1251,
       {"Фамилия", "Имя отчество", "Ёлка"},
       {"d4c0ccc8cbc8df", "c8ccdf5fced2d7c5d1d2", "a8cbcac0"}},
      {CodePage::k936,
       {"单价（元）", "销售订单日期金额", "a单价元数量", "日本語"},
       {"b5a5bcdb5fd4aa5f", "cffacadbb6a9b5a5c8d5", "41b5a5bcdbd4aacafd", "c8d5b1bed55a"}},
      {CodePage::kUtf8,
       {"Фамилия", "单价（元）", "Größe", "ǆemal"},
       {"d0a4d090d09cd098d09b", "e58d95e4bbb75fe58583", "4752c396c39f45", "c784454d414c"}},
      {CodePage::k932,
       {"品番", "ｱｲｳ", "１２３", "価格（円）"},
       {"956994d4", "b1b2b3", "46825082518252", "89bf8a695f897e5f"}},
      {CodePage::k949, {"이름", "금액"}, {"c0ccb8a7", "b1ddbed7"}},
      {CodePage::k950, {"臺北資料表", "單價"}, {"bb4fa55fb8eaaec6aaed", "b3e6bbf9"}},
      {CodePage::k1253, {"όνομα"}, {"bccdcfccc1"}},
      {CodePage::k737, {"όνομα"}, {"ee8c8e8b80"}},
      {CodePage::k1255, {"שם לקוח"}, {"f9ed5fecf7e5e7"}},
      {CodePage::k1256, {"الاسم", "٣"}, {"c7e1c7d3e3", "465f"}},
      {CodePage::k874, {"ชื่อ"}, {"aa5f5fcd"}},  // the vowel and tone marks are not letters
  };
  for (const Case& c : cases) {
    Names hex;
    for (const std::string& name : MakeFieldNames(c.headers, c.page)) hex.push_back(Hex(name));
    EXPECT_EQ(hex, c.hex) << static_cast<int>(c.page);
  }
}

TEST(FieldNames, SuffixesNeverSplitADoubleByteCharacter) {
  Names hex;
  for (const std::string& name :
       MakeFieldNames({"单价单价单价", "单价单价单价", "a单价单价单", "a单价单价单"}, CodePage::k936)) {
    hex.push_back(Hex(name));
  }
  const Names expected = {"b5a5bcdbb5a5bcdbb5a5", "b5a5bcdbb5a5bcdb5f32",
                          "41b5a5bcdbb5a5bcdb", "41b5a5bcdbb5a55f32"};
  EXPECT_EQ(hex, expected);
}

// For every code point: 'L' for a letter, 'D' for a decimal digit, '-'
// otherwise, then the upper-case form when it is one other character (6 hex
// digits, else six blanks): Python's unicodedata and str.upper.
constexpr const char* kUnicodeDump = R"(
import sys, unicodedata
out = []
for cp in range(0x110000):
    ch = chr(cp)
    category = unicodedata.category(ch)
    kind = 'L' if category[0] == 'L' else 'D' if category == 'Nd' else '-'
    upper = ch.upper()
    out.append(kind + ('%06X' % ord(upper) if len(upper) == 1 and upper != ch else '      '))
sys.stdout.write(''.join(out))
)";

TEST(FieldNames, LettersDigitsAndUpperCaseAsPythonHasThem) {
  const std::filesystem::path python = DRAVELLA_SYSTEM_PYTHON;
  if (!std::filesystem::exists(python)) GTEST_SKIP() << python << " is missing";
  testing::ScratchFolder folder;
  std::ofstream(folder / "dump.py") << kUnicodeDump;
  std::FILE* pipe = popen((python.string() + " " + (folder / "dump.py").string()).c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string dump;
  char buffer[65536];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) dump.append(buffer, n);
  ASSERT_EQ(pclose(pipe), 0);
  ASSERT_EQ(dump.size(), 0x110000u * 7);
  int wrong = 0;
  for (char32_t c = 0; c < 0x110000; ++c) {
    const std::string_view row = std::string_view(dump).substr(c * 7, 7);
    const CharacterClass kind = row[0] == 'L'   ? CharacterClass::kLetter
                                : row[0] == 'D' ? CharacterClass::kDecimalDigit
                                                : CharacterClass::kOther;
    const char32_t upper = row[1] == ' ' ? c : static_cast<char32_t>(std::stoul(std::string(row.substr(1)), nullptr, 16));
    if ((ClassOf(c) != kind || SimpleUpperCase(c) != upper) && ++wrong <= 5) {
      ADD_FAILURE() << "U+" << std::hex << static_cast<uint32_t>(c) << ": class " << static_cast<int>(ClassOf(c))
                    << ", upper " << static_cast<uint32_t>(SimpleUpperCase(c)) << "; Python: " << row;
    }
  }
  EXPECT_EQ(wrong, 0);
}

}  // namespace
}  // namespace dravella::engine::dbf
