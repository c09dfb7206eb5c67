#include "core/output_naming.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>

#include "core/utf8_text.h"

namespace dravella::core {
namespace {

// Hands out scripted numbers and counts the re-seeds.
class ScriptedRandom final : public RandomSource {
 public:
  explicit ScriptedRandom(std::deque<double> values = {}) : values_(std::move(values)) {}
  void ReseedFromClock() override { ++reseeds; }
  double NextUnit() override {
    ++draws;
    if (values_.empty()) return 0.5;
    const double x = values_.front();
    values_.pop_front();
    return x;
  }
  int reseeds = 0;
  int draws = 0;

 private:
  std::deque<double> values_;
};

struct NamingCase {
  int mode;
  std::string book;
  std::string sheet;
  std::string expected;
};

TEST(DbfBaseNameTest, FormsNamesInEachMode) {
  const NamingCase cases[] = {
      {kNamePlain, "Sales", "Sales", "Sales"},
      {kNamePlain, "Sales", "Costs", "Costs"},
      {kNameSheet, "Sales", "Sales", "Sales_Sales"},
      {kNameSheet, "Sales", "sales", "Sales_sales"},  // each part keeps its case
      {kNameSheet, "Sales", "Q1: totals", "Q1 totals"},  // the colon goes, the blank stays
      {kNameSheet, "Äpfel", "äPFEL", "Äpfel_äPFEL"},     // non-ASCII letters compare without case
      {kNameSheet, "Книга", "КНИГА", "Книга_КНИГА"},
      {kNameSheet, "Book", "A", "A"},                   // nothing removed: short names stay
      {kNameSheet, "Book", "a.b.c", "a.b.c"},           // dots stay
      {kNameBookSheet, "Book1", "Data", "Book1_Data"},
      {kNameBookSheet, "", "Data", "_Data"},
      {kNameBookSheet, "Book", " lead", "Book_ lead"},  // the blank is inside, not first
      {kNameSheet, "Book", "a\"b<c>d|e", "abcde"},
      {kNameSheet, "Book", "../../etc/passwd", "....etcpasswd"},  // no way out of the folder
      {kNameSheet, "Book", "back\\slash", "backslash"},
      {kNameSheet, "Book", "tab\there\nline", "tabhereline"},
  };
  for (const NamingCase& c : cases) {
    ScriptedRandom random;
    OutputNaming naming(random);
    EXPECT_EQ(naming.DbfBaseName(c.mode, c.book, c.sheet), c.expected)
        << "mode " << c.mode << " book '" << c.book << "' sheet '" << c.sheet << "'";
    EXPECT_EQ(random.draws, 0) << c.sheet;
  }
}

TEST(DbfBaseNameTest, NumberedModeCountsAndAvoidsTheBookName) {
  ScriptedRandom random;
  OutputNaming naming(random);
  EXPECT_EQ(naming.DbfBaseName(kNameNumbered, "2", "First"), "1");
  EXPECT_EQ(naming.DbfBaseName(kNameNumbered, "2", "Second"), "2_2");
  EXPECT_EQ(naming.DbfBaseName(kNameNumbered, "2", "Third"), "3");
  EXPECT_EQ(naming.SheetCounter, 3);
  naming.SheetCounter = 0;
  EXPECT_EQ(naming.DbfBaseName(kNameNumbered, "Book", "x"), "1");
  // Only mode 3 touches the counter.
  naming.DbfBaseName(kNameSheet, "Book", "x");
  EXPECT_EQ(naming.SheetCounter, 1);
}

struct RandomCase {
  int mode;
  std::string sheet;
  std::deque<double> draws;
  std::string expected;
  int expected_draws;
};

TEST(DbfBaseNameTest, ReplacesUnusableNamesWithRandomNumbers) {
  const RandomCase cases[] = {
      // Empty after cleaning: 1 .. 1000000 from floor(x * 1000000) + 1.
      {kNameSheet, "", {0.0, 0.5}, "151", 2},    // one digit: a second number follows
      {kNameSheet, "", {0.0, 0.0}, "11", 2},
      {kNameSheet, "", {0.999999999, 0.999999999}, "1000000", 1},
      {kNameSheet, "", {0.0000123}, "13", 1},   // two digits: nothing follows
      {kNameSheet, ":::", {0.5}, "500001", 1},
      {kNameSheet, " leading", {0.25}, "250001", 1},  // a leading blank drops the whole name
      {kNameSheet, "<A>", {0.99}, "A100", 1},   // cut down to one character: 1 .. 100 appended
      {kNameSheet, "<A>", {0.0}, "A1", 1},
      {kNameSheet, "<Ab>", {}, "Ab", 0},        // two characters left: nothing appended
      {kNameSheet, "<Ä>", {0.5}, "Ä51", 1},     // characters, not bytes, are counted
  };
  for (const RandomCase& c : cases) {
    ScriptedRandom random(c.draws);
    OutputNaming naming(random);
    const std::string name = naming.DbfBaseName(c.mode, "Book", c.sheet);
    EXPECT_EQ(name, c.expected) << "sheet '" << c.sheet << "'";
    EXPECT_EQ(random.draws, c.expected_draws) << "sheet '" << c.sheet << "'";
    EXPECT_EQ(random.reseeds, random.draws) << "every draw is preceded by a re-seed";
  }
}

TEST(DbfBaseNameTest, ClockSeededNamesStayInRange) {
  OutputNaming naming;  // the real generator
  for (int i = 0; i < 200; ++i) {
    const std::string name = naming.DbfBaseName(kNameSheet, "Book", "");
    ASSERT_FALSE(name.empty());
    ASSERT_EQ(name.find_first_not_of("0123456789"), std::string::npos) << name;
    ASSERT_NE(name[0], '0') << name;
    // A one-digit number gets a second one (1 .. 100) behind it.
    ASSERT_GE(name.size(), 2u) << name;
    ASSERT_LE(name.size(), 10u) << name;
  }
}

TEST(FileExtensionTest, TakesTheTextAfterTheLastDotOrBlank) {
  const std::pair<std::string, std::string> cases[] = {
      {"Book1.XLS", "xls"},
      {"Book1.xls ", ""},  // a name ending in a blank
      {"My Book", "book"},
      {"report.old xls", "xls"},
      {"README", "readme"},
      {"archive.tar.gz", "gz"},
      {".xls", "xls"},
      {"Données.ÄXLS", "äxls"},
      {"", ""},
      {std::string(40000, 'a') + ".xls", ""},  // longer than the scan can count
  };
  for (const auto& [name, expected] : cases) {
    EXPECT_EQ(FileExtension(name), expected) << name.substr(0, 40);
  }
}

TEST(RemoveBlanksAndDotsTest, RemovesEveryBlankAndDot) {
  EXPECT_EQ(RemoveBlanksAndDots("My Book.old"), "MyBookold");
  EXPECT_EQ(RemoveBlanksAndDots(" . . "), "");
  EXPECT_EQ(RemoveBlanksAndDots(""), "");
  EXPECT_EQ(RemoveBlanksAndDots("Zoë Ü.x"), "ZoëÜx");
}

TEST(Utf8TextTest, CountsCharactersAndFoldsCase) {
  EXPECT_EQ(Utf8Length("Zoë"), 3u);
  EXPECT_EQ(Utf8Length("日本"), 2u);
  EXPECT_EQ(Utf8ToLower("ÄÖÜ ÀÉÎ ŁŚŹ ΑΒΓ АБВ Ё İ Ÿ"), "äöü àéî łśź αβγ абв ё i ÿ");
  EXPECT_EQ(Utf8ToLower("×÷ß日本"), "×÷ß日本");  // no case: unchanged
  EXPECT_EQ(Utf8ToLower("a\xFF\xC3"), "a\xFF\xC3");  // broken bytes pass through
}

}  // namespace
}  // namespace dravella::core
