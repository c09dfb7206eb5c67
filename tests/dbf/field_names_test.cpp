// Field names: cleaning, FIELDn, the F prefix, the cut to 10 bytes, _2, _3 ...,
// and the letters and digits of every script a code page holds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/dbf/field_names.h"

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

}  // namespace
}  // namespace dravella::engine::dbf
