#include "core/workbook_conversion.h"

#include <gtest/gtest.h>

#include <string>

namespace dravella::core {
namespace {

TEST(FileSystemTest, TableNamesAreCutToFitAtACharacterBoundary) {
  const std::string e300 = [] {
    std::string text;
    for (int i = 0; i < 150; ++i) text += "é";  // 2 bytes each
    return text;
  }();
  const struct {
    std::string base;
    std::string suffix;
    std::string expected;
  } cases[] = {
      {"Sales", "", "Sales.dbf"},
      {"Sales", "_2", "Sales_2.dbf"},
      {std::string(251, 'x'), "", std::string(251, 'x') + ".dbf"},  // just fits
      {std::string(260, 'x'), "", std::string(251, 'x') + ".dbf"},
      {std::string(260, 'x'), "_12", std::string(248, 'x') + "_12.dbf"},
      {e300, "", e300.substr(0, 250) + ".dbf"},  // 251 would split a character
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TableFileName(c.base, c.suffix, 255), c.expected) << c.base.size();
  }
}

}  // namespace
}  // namespace dravella::core
