// Field names: cleaning, FIELDn, the F prefix, the cut to 10, and _2, _3 ...
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
  const Names expected = {"NAME",    "FIRST_NAME", "STRA_E",  "F___",       "FIELD5",
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

}  // namespace
}  // namespace dravella::engine::dbf
