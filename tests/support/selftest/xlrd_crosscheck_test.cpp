// Workbooks of every version read back by python3-xlrd, an independent
// reader: what it finds must be what the builder was told to write. Skipped
// when /usr/bin/python3 or its xlrd module is missing.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/support/xls_builder.h"

namespace dravella::testing {
namespace {

namespace fs = std::filesystem;

// xlrd's cell types.
enum XlrdType { kText = 1, kNumber = 2, kDate = 3, kBool = 4, kError = 5 };

struct XlrdCell {
  uint16_t row;
  uint16_t col;
  int type;
  std::string value;  // text as UTF-8; otherwise the number, written by printf("%.17g")
  bool operator==(const XlrdCell&) const = default;
};

struct XlrdSheet {
  std::string name;
  std::vector<XlrdCell> cells;  // non-empty cells, row by row
};

struct XlrdBook {
  int biff_version = 0;
  int datemode = 0;
  std::vector<XlrdSheet> sheets;
};

std::ostream& operator<<(std::ostream& out, const XlrdCell& c) {
  return out << "(" << c.row << "," << c.col << " type " << c.type << " '" << c.value << "')";
}

constexpr char kDumpScript[] = R"(import os, sys
try:
    import xlrd
except ImportError:
    print("NOXLRD")
    sys.exit(0)
book = xlrd.open_workbook(sys.argv[1], logfile=open(os.devnull, "w"))
print("B", book.biff_version, book.datemode)
for sheet in book.sheets():
    print("S", "x" + sheet.name.encode("utf-8").hex())
    for r in range(sheet.nrows):
        for c in range(sheet.ncols):
            cell = sheet.cell(r, c)
            if cell.ctype in (0, 6):
                continue
            if cell.ctype == 1:
                value = cell.value.encode("utf-8").hex()
            else:
                value = ("%.17g" % float(cell.value)).encode("utf-8").hex()
            print("C", r, c, cell.ctype, "x" + value)
)";

// Texts travel as "x" and their UTF-8 bytes in hex, so none is empty.
std::string Unhex(const std::string& hex) {
  std::string out;
  for (size_t i = 1; i + 1 < hex.size(); i += 2) out.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  return out;
}

std::string NumberText(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.17g", value);
  return buffer;
}

class XlrdCrossCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(DRAVELLA_PYTHON3)) GTEST_SKIP() << DRAVELLA_PYTHON3 << " is missing";
    dir_ = fs::temp_directory_path() / ("xls_builder_xlrd_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    std::ofstream(dir_ / "dump.py") << kDumpScript;
  }
  void TearDown() override {
    std::error_code ignored;
    if (!dir_.empty()) fs::remove_all(dir_, ignored);
  }

  // Writes the bytes, has xlrd read them; skips the test without xlrd.
  XlrdBook Read(const std::vector<uint8_t>& bytes, const std::string& file_name) {
    const fs::path file = dir_ / file_name;
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    const fs::path out = dir_ / (file_name + ".txt");
    const std::string command = std::string(DRAVELLA_PYTHON3) + " " + (dir_ / "dump.py").string() + " " +
                                file.string() + " > " + out.string() + " 2>&1";
    const int status = std::system(command.c_str());
    std::ifstream in(out);
    std::stringstream text;
    text << in.rdbuf();
    if (text.str().starts_with("NOXLRD")) {
      skipped_ = true;
      return {};
    }
    EXPECT_EQ(status, 0) << "xlrd failed on " << file_name << ":\n" << text.str();
    XlrdBook book;
    std::string kind;
    while (text >> kind) {
      if (kind == "B") {
        text >> book.biff_version >> book.datemode;
      } else if (kind == "S") {
        std::string hex;
        text >> hex;
        book.sheets.push_back({Unhex(hex), {}});
      } else if (kind == "C") {
        XlrdCell cell{};
        std::string hex;
        text >> cell.row >> cell.col >> cell.type >> hex;
        cell.value = Unhex(hex);
        book.sheets.back().cells.push_back(cell);
      }
    }
    return book;
  }

  fs::path dir_;
  bool skipped_ = false;
};

#define READ_OR_SKIP(book_var, bytes, name)      \
  const XlrdBook book_var = Read(bytes, name);   \
  if (skipped_) GTEST_SKIP() << "python3-xlrd is not installed"

// The cells each version can hold, and what xlrd must read from them.
std::vector<XlrdCell> FillSample(WorkbookBuilder& book, SheetBuilder& sheet) {
  const BiffVersion v = book.version();
  const bool biff8 = v == BiffVersion::kBiff8;
  std::vector<XlrdCell> expected;
  auto text = [&](uint16_t r, uint16_t c, const std::string& s) {
    sheet.Text(r, c, s);
    expected.push_back({r, c, kText, s});
  };
  auto number = [&](uint16_t r, uint16_t c, double value, int type = kNumber) {
    expected.push_back({r, c, type, NumberText(value)});
  };

  text(0, 0, "Name");
  text(0, 1, "Zo\xC3\xAB J\xC3\xBCrgen");
  text(0, 2, biff8 ? "\xE6\x97\xA5\xE6\x9C\xAC \xCE\xB1\xCE\xB2" : "caf\xC3\xA9");
  sheet.Number(1, 0, 3.25);
  number(1, 0, 3.25);
  sheet.Number(1, 1, 45000.5, book.DateXf());
  number(1, 1, 45000.5, kDate);
  sheet.Boolean(1, 2, true);
  number(1, 2, 1, kBool);
  sheet.Error(1, 3, CellError::kDiv0);
  number(1, 3, 7, kError);
  if (v == BiffVersion::kBiff2) {
    sheet.Integer(2, 0, 65535);
    number(2, 0, 65535);
  } else {
    sheet.Rk(2, 0, 12.34, RkForm::kIntegerX100).Rk(2, 1, -7, RkForm::kInteger).Rk(2, 2, 1.5, RkForm::kFloat);
    number(2, 0, 12.34);
    number(2, 1, -7);
    number(2, 2, 1.5);
  }
  sheet.FormulaNumber(3, 0, 2.5).FormulaText(3, 1, "from a formula").FormulaBoolean(3, 2, false);
  sheet.FormulaError(3, 3, CellError::kNA);
  number(3, 0, 2.5);
  expected.push_back({3, 1, kText, "from a formula"});
  number(3, 2, 0, kBool);
  number(3, 3, 0x2A, kError);
  sheet.Blank(4, 0);
  if (book.version() >= BiffVersion::kBiff5) {
    const double values[] = {1, 2.5, -3};
    sheet.MulRk(5, 0, values).MulBlank(6, 0, 3);
    number(5, 0, 1);
    number(5, 1, 2.5);
    number(5, 2, -3);
    sheet.FormulaNumber(7, 0, 10, {.tokens = {}, .tail = FormulaTail::kSharedFormula});
    sheet.FormulaText(7, 1, "array", {.tokens = {}, .tail = FormulaTail::kArray});
    sheet.FormulaEmptyText(7, 2);
    const FormattingRun runs[] = {{0, 1}, {4, 2}};
    sheet.RichText(7, 3, "rich text", runs);
    number(7, 0, 10);
    expected.push_back({7, 1, kText, "array"});
    expected.push_back({7, 2, kText, ""});
    expected.push_back({7, 3, kText, "rich text"});
  }
  if (biff8) {
    sheet.Label(8, 0, "a LABEL \xE2\x82\xAC");
    expected.push_back({8, 0, kText, "a LABEL \xE2\x82\xAC"});
  }
  return expected;
}

struct VersionCase {
  BiffVersion version;
  const char* name;
  int xlrd_version;  // what xlrd calls it
};

void PrintTo(const VersionCase& c, std::ostream* out) { *out << c.name; }

class XlrdVersions : public XlrdCrossCheck, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(XlrdVersions, ReadsTheSheetsAndValuesTheBuilderWrote) {
  const VersionCase& c = GetParam();
  WorkbookBuilder book(c.version);
  const bool workbook = c.version >= BiffVersion::kBiff4Workbook;
  const std::vector<XlrdCell> first = FillSample(book, book.AddSheet("Donn\xC3\xA9" "es"));
  std::vector<std::string> names = {workbook ? "Donn\xC3\xA9" "es" : "Sheet 1"};
  if (workbook) {
    book.AddSheet("Empty");
    names.push_back("Empty");
  }
  if (c.version >= BiffVersion::kBiff5) {
    // Hidden worksheets are worksheets; charts and macro sheets are not.
    book.AddSheet("Chart1", SheetKind::kChart);
    book.AddSheet("Macro1", SheetKind::kMacroSheet, SheetVisibility::kHidden);
    book.AddSheet("Hidden", SheetKind::kWorksheet, SheetVisibility::kHidden).Number(0, 0, 99);
    names.push_back("Hidden");
  }

  READ_OR_SKIP(read, book.Build(), std::string(c.name) + ".xls");
  EXPECT_EQ(read.biff_version, c.xlrd_version);
  EXPECT_EQ(read.datemode, 0);
  ASSERT_EQ(read.sheets.size(), names.size());
  for (size_t i = 0; i < names.size(); ++i) EXPECT_EQ(read.sheets[i].name, names[i]);

  std::vector<XlrdCell> sorted = first;
  std::sort(sorted.begin(), sorted.end(), [](const XlrdCell& a, const XlrdCell& b) {
    return std::pair(a.row, a.col) < std::pair(b.row, b.col);
  });
  EXPECT_EQ(read.sheets[0].cells, sorted);
  if (c.version >= BiffVersion::kBiff5) {
    EXPECT_EQ(read.sheets.back().cells, (std::vector<XlrdCell>{{0, 0, kNumber, "99"}}));
  }
}

INSTANTIATE_TEST_SUITE_P(AllVersions, XlrdVersions,
                         ::testing::Values(VersionCase{BiffVersion::kBiff2, "Biff2", 21},
                                           VersionCase{BiffVersion::kBiff3, "Biff3", 30},
                                           VersionCase{BiffVersion::kBiff4, "Biff4", 40},
                                           VersionCase{BiffVersion::kBiff4Workbook, "Biff4Workbook", 45},
                                           VersionCase{BiffVersion::kBiff5, "Biff5", 50},
                                           VersionCase{BiffVersion::kBiff8, "Biff8", 80}),
                         [](const auto& info) { return std::string(info.param.name); });

std::string Repeat(std::string_view piece, size_t times) {
  std::string out;
  for (size_t i = 0; i < times; ++i) out += piece;
  return out;
}

TEST_F(XlrdCrossCheck, LongSharedStringsAcrossContinueRecords) {
  // Thousands of strings, 16-bit ones cut mid-way, Latin rests recompressed,
  // rich runs and phonetic blocks: xlrd must get every one back.
  for (bool recompress : {false, true}) {
    SCOPED_TRACE(recompress ? "recompressed" : "as begun");
    WorkbookBuilder book;
    book.SetSstRecompressContinuations(recompress);
    SheetBuilder& sheet = book.AddSheet("Strings");
    std::vector<XlrdCell> expected;
    for (uint16_t i = 0; i < 3000; ++i) {
      std::string s = (i % 3 == 0 ? "\xD0\x96" : "") + Repeat("x", i % 97) + std::to_string(i);
      sheet.Text(i, 0, s);
      expected.push_back({i, 0, kText, s});
    }
    const std::string long_text = "\xE2\x82\xAC" + Repeat("long Latin text ", 1200);
    sheet.Text(3000, 0, long_text);
    expected.push_back({3000, 0, kText, long_text});
    const std::string rich = Repeat("\xE3\x81\x82", 50);
    sheet.SharedStringCell(3001, 0,
                           book.AddSharedString({rich, {{0, 1}, {10, 2}}, PhoneticBlock(u"\u30A2", 50)}));
    expected.push_back({3001, 0, kText, rich});

    READ_OR_SKIP(read, book.Build(), recompress ? "sst_recompressed.xls" : "sst.xls");
    ASSERT_EQ(read.sheets.size(), 1u);
    EXPECT_EQ(read.sheets[0].cells, expected);
  }
}

TEST_F(XlrdCrossCheck, ContainerAndGlobalsVariants) {
  struct Case {
    const char* name;
    void (*setup)(WorkbookBuilder&);
    int datemode;
  };
  // (xlrd cannot read 4096-byte sectors: it assumes a 512-byte header, so
  // version 4 containers are checked by the compound file tests alone.)
  const Case cases[] = {
      {"date1904", [](WorkbookBuilder& b) { b.SetDateMode1904(); }, 1},
      {"padded_stream", [](WorkbookBuilder& b) { b.PadStreamTo(4096); }, 0},
      {"with_summary_streams",
       [](WorkbookBuilder& b) {
         b.AddStream("\x05SummaryInformation", std::vector<uint8_t>(200, 0));
         b.AddStream("\x05" "DocumentSummaryInformation", std::vector<uint8_t>(5000, 0));
       },
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WorkbookBuilder book;
    c.setup(book);
    book.AddSheet("S").Text(0, 0, "head").Number(1, 0, 40000, book.DateXf());
    READ_OR_SKIP(read, book.Build(), std::string(c.name) + ".xls");
    EXPECT_EQ(read.datemode, c.datemode);
    ASSERT_EQ(read.sheets.size(), 1u);
    EXPECT_EQ(read.sheets[0].cells,
              (std::vector<XlrdCell>{{0, 0, kText, "head"}, {1, 0, kDate, "40000"}}));
  }
}

TEST_F(XlrdCrossCheck, DifatSectorsAndByteStringCodePages) {
  // A workbook stream in a compound file whose FAT needs DIFAT sectors.
  WorkbookBuilder book;
  book.AddSheet("S").Number(0, 0, 1);
  CompoundFileBuilder container;
  container.AddStream("Workbook", book.BuildStream()).SetMinimumFatSectors(240);
  READ_OR_SKIP(difat, container.Build(), "difat.xls");
  ASSERT_EQ(difat.sheets.size(), 1u);
  EXPECT_EQ(difat.sheets[0].cells, (std::vector<XlrdCell>{{0, 0, kNumber, "1"}}));

  // BIFF5 byte strings in Windows 1251, sheet name included.
  WorkbookBuilder cyrillic(BiffVersion::kBiff5);
  cyrillic.SetCodepage(1251);
  const std::string word = "\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0";  // Moskva
  cyrillic.AddSheet(word).Text(0, 0, word);
  READ_OR_SKIP(read, cyrillic.Build(), "cp1251.xls");
  ASSERT_EQ(read.sheets.size(), 1u);
  EXPECT_EQ(read.sheets[0].name, word);
  EXPECT_EQ(read.sheets[0].cells, (std::vector<XlrdCell>{{0, 0, kText, word}}));
}

}  // namespace
}  // namespace dravella::testing
