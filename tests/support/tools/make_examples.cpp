// Writes the bundled example workbooks into the examples folder (or the
// folder given as the only argument): small, realistic files made by the
// test workbook builder.
//
//   make_examples [folder]
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/xls_builder.h"

namespace {

namespace fs = std::filesystem;
using namespace dravella::testing;

// Formula tokens, for formulas that a spreadsheet recomputes to the cached
// values written beside them.
constexpr uint8_t kPtgMul = 0x05;
constexpr uint8_t kPtgFuncVar = 0x42;  // value class
constexpr uint8_t kPtgRef = 0x44;      // value class
constexpr uint8_t kPtgArea = 0x25;     // reference class
constexpr uint16_t kRelativeRowAndColumn = 0xC000;
constexpr uint16_t kFunctionSum = 4;

std::vector<uint8_t> Product(uint16_t row, uint16_t col_a, uint16_t col_b) {
  ByteWriter t;
  t.U8(kPtgRef).U16(row).U16(col_a | kRelativeRowAndColumn);
  t.U8(kPtgRef).U16(row).U16(col_b | kRelativeRowAndColumn);
  t.U8(kPtgMul);
  return t.Take();
}

std::vector<uint8_t> Sum(uint16_t first_row, uint16_t last_row, uint16_t col) {
  ByteWriter t;
  t.U8(kPtgArea).U16(first_row).U16(last_row).U16(col | kRelativeRowAndColumn).U16(col | kRelativeRowAndColumn);
  t.U8(kPtgFuncVar).U8(1).U16(kFunctionSum);
  return t.Take();
}

// Day numbers in the 1900 date system (valid from March 1900 on).
double Serial(int year, int month, int day) {
  const int a = (14 - month) / 12;
  const int y = year + 4800 - a;
  const int m = month + 12 * a - 3;
  const long julian = day + (153 * m + 2) / 5 + 365L * y + y / 4 - y / 100 + y / 400 - 32045;
  return static_cast<double>(julian - 2415019);  // 1899-12-30 is day 0
}

void WriteSales(const fs::path& folder) {
  WorkbookBuilder book;
  const uint16_t date = book.AddXf(book.AddFormat("yyyy-mm-dd"));
  const uint16_t money = book.AddXf(4);  // #,##0.00

  static const char* const kCustomers[] = {"Nordwind GmbH", "Café Lumière", "Harbor & Sons", "Old Mill Bakery",
                                           "Zoë's Florist", "Kowalski Tools", "Blue Fjord AS", "Casa Pérez"};
  static const char* const kRegions[] = {"North", "South", "East", "West"};
  SheetBuilder& orders = book.AddSheet("Orders");
  const char* const headers[] = {"OrderId", "Customer", "Amount", "OrderDate", "Region"};
  for (uint16_t c = 0; c < 5; ++c) orders.Text(0, c, headers[c]);
  for (uint16_t i = 1; i <= 36; ++i) {
    orders.Rk(i, 0, 10400 + i);
    orders.Text(i, 1, kCustomers[(i * 5) % 8]);
    orders.Rk(i, 2, ((i * 7919) % 250000 + 1500) / 100.0, RkForm::kAuto, money);  // whole cents
    orders.Rk(i, 3, Serial(2023, 1 + (i * 2) % 12, 1 + (i * 11) % 28), RkForm::kInteger, date);
    orders.Text(i, 4, kRegions[i % 4]);
  }

  SheetBuilder& regions = book.AddSheet("Regions");
  regions.Text(0, 0, "Region").Text(0, 1, "Manager").Text(0, 2, "Target");
  static const char* const kManagers[] = {"Ingrid Berg", "Marco Rossi", "Olga Ivanova", "Samir Haddad"};
  for (uint16_t i = 0; i < 4; ++i) {
    regions.Text(i + 1, 0, kRegions[i]).Text(i + 1, 1, kManagers[i]);
    regions.Rk(i + 1, 2, 50000 + 12500 * i, RkForm::kAuto, money);
  }
  book.WriteTo(folder / "sales.xls");
}

void WriteInventory(const fs::path& folder) {
  WorkbookBuilder book;
  const uint16_t money = book.AddXf(4);
  SheetBuilder& items = book.AddSheet("Items");
  const char* const headers[] = {"Sku", "Item", "Quantity", "InStock", "UnitPrice", "StockValue", "Notes"};
  for (uint16_t c = 0; c < 7; ++c) items.Text(0, c, headers[c]);

  struct Item {
    const char* sku;
    const char* name;
    int quantity;
    double price;
    const char* notes;
  };
  const std::string long_note =
      "Supplied in cartons of twelve. The manufacturer changed the packaging in spring, so older stock "
      "carries the grey label and newer stock the green one; both hold the same part. Check the batch "
      "number before returning goods, keep the cartons dry, and reorder when fewer than forty remain, "
      "since delivery takes about three weeks in the summer months.";
  const Item stock[] = {
      {"HX-100", "Hex bolt M8", 420, 0.35, "Zinc plated"},
      {"HX-120", "Hex bolt M12", 0, 0.62, ""},
      {"WS-008", "Washer 8 mm", 1500, 0.04, long_note.c_str()},
      {"NT-008", "Nut M8", 880, 0.09, "Self-locking"},
      {"SC-350", "Wood screw 3.5 x 30", 2400, 0.05, ""},
      {"GL-001", "Wood glue 250 ml", 35, 4.95, "Keep from frost"},
      {"DR-006", "Drill bit 6 mm", 0, 3.20, "Discontinued"},
  };
  uint16_t row = 1;
  for (const Item& item : stock) {
    items.Text(row, 0, item.sku).Text(row, 1, item.name);
    items.Rk(row, 2, item.quantity);
    items.Boolean(row, 3, item.quantity > 0);
    items.Number(row, 4, item.price, money);
    items.FormulaNumber(row, 5, item.quantity * item.price, {.tokens = Product(row, 2, 4)}, money);
    if (*item.notes) items.Text(row, 6, item.notes);
    ++row;
  }
  double total = 0;
  for (const Item& item : stock) total += item.quantity * item.price;
  items.Text(row, 4, "Total");
  items.FormulaNumber(row, 5, total, {.tokens = Sum(1, row - 1, 5)}, money);

  book.AddSheet("Empty");
  book.WriteTo(folder / "inventory.xls");
}

void WriteStaff(const fs::path& folder) {
  WorkbookBuilder book;
  const uint16_t date = book.AddXf(book.AddFormat("dd.mm.yyyy"));
  SheetBuilder& staff = book.AddSheet("Staff");
  const char* const headers[] = {"Name", "Department", "DateOfBirth", "Salary", "FullTime"};
  for (uint16_t c = 0; c < 5; ++c) staff.Text(0, c, headers[c]);
  struct Person {
    const char* name;
    const char* department;
    int year, month, day;
    double salary;
    bool full_time;
  };
  const Person people[] = {
      {"Zoë Lefèvre", "Design", 1988, 4, 17, 51200, true},
      {"Jürgen Weiß", "Finance", 1975, 11, 2, 63800, true},
      {"Søren Dahl", "Logistics", 1992, 7, 30, 44150.5, false},
      {"Łucja Nowak", "Finance", 1983, 1, 9, 58900, true},
      {"José Álvarez", "Sales", 1979, 12, 24, 49300, true},
      {"Ana Ćosić", "Design", 1996, 3, 5, 39800, false},
      {"Chloé Martin", "Sales", 1990, 9, 14, 47250, true},
      {"Håkon Øverland", "Logistics", 1969, 6, 21, 52600, true},
  };
  uint16_t row = 1;
  for (const Person& p : people) {
    staff.Text(row, 0, p.name).Text(row, 1, p.department);
    staff.Rk(row, 2, Serial(p.year, p.month, p.day), RkForm::kInteger, date);
    staff.Number(row, 3, p.salary);
    staff.Boolean(row, 4, p.full_time);
    ++row;
  }
  book.WriteTo(folder / "staff.xls");
}

}  // namespace

int main(int argc, char** argv) {
  const fs::path folder = argc > 1 ? fs::path(argv[1]) : fs::path(DRAVELLA_EXAMPLES_DIR);
  try {
    fs::create_directories(folder);
    WriteSales(folder);
    WriteInventory(folder);
    WriteStaff(folder);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_examples: %s\n", e.what());
    return 1;
  }
  std::printf("wrote sales.xls, inventory.xls and staff.xls to %s\n", folder.string().c_str());
  return 0;
}
