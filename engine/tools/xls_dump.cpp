// xls_dump FILE...: prints every worksheet of each workbook (name, used range)
// and every non-empty cell (address, kind, value) as the engine reads them.
//
//   file "book.xls"
//   date system 1900
//   sheet 1 "Data" A1:C20
//   A1 text "Name\n"
//   B2 number 1.5
//   C2 date 43831
//   D2 boolean TRUE
//   E2 error 7
//
// Numbers are printed with 17 significant digits; texts with \\, \", \n, \r,
// \t and \xNN escapes for other control characters. A workbook or worksheet
// that cannot be read prints "error NUMBER DESCRIPTION" instead. Exit status
// 1 when anything could not be read.
#include <cstdio>
#include <string>
#include <string_view>

#include "engine/xls/workbook_file.h"

namespace {

using dravella::engine::CellKind;
using dravella::engine::CellRange;
using dravella::engine::CellValue;
using dravella::engine::DateSystem;
using dravella::engine::WorkbookFile;

std::string ColumnName(uint32_t column) {
  std::string name;
  for (uint64_t c = uint64_t{column} + 1; c > 0; c = (c - 1) / 26) {
    name.insert(name.begin(), static_cast<char>('A' + (c - 1) % 26));
  }
  return name;
}

std::string Address(uint32_t row, uint32_t column) { return ColumnName(column) + std::to_string(row + 1); }

std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          char hex[8];
          std::snprintf(hex, sizeof hex, "\\x%02X", c);
          out += hex;
        } else {
          out.push_back(ch);
        }
    }
  }
  return out + "\"";
}

std::string Number(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

std::string ValueText(const CellValue& value) {
  switch (value.kind) {
    case CellKind::kNumber: return "number " + Number(value.number);
    case CellKind::kDate: return "date " + Number(value.number);
    case CellKind::kBoolean: return value.number != 0 ? "boolean TRUE" : "boolean FALSE";
    case CellKind::kError: return "error " + std::to_string(static_cast<int>(value.number));
    case CellKind::kText: return "text " + Quoted(value.text);
    case CellKind::kEmpty: break;
  }
  return "empty";
}

bool DumpWorkbook(const char* path) {
  std::printf("file %s\n", Quoted(path).c_str());
  auto opened = WorkbookFile::Open(path);
  if (!opened.ok()) {
    std::printf("error %d %s\n", opened.status().number(), opened.status().description().c_str());
    return false;
  }
  WorkbookFile& book = *opened.value();
  std::printf("date system %s\n", book.date_system() == DateSystem::k1904 ? "1904" : "1900");
  bool all_read = true;
  for (size_t i = 0; i < book.worksheet_count(); ++i) {
    auto sheet = book.worksheet(i);
    if (!sheet.ok()) {
      std::printf("sheet %zu %s\nerror %d %s\n", i + 1, Quoted(book.worksheet_name(i)).c_str(),
                  sheet.status().number(), sheet.status().description().c_str());
      all_read = false;
      continue;
    }
    const CellRange range = sheet.value()->used_range();
    std::printf("sheet %zu %s %s:%s\n", i + 1, Quoted(book.worksheet_name(i)).c_str(),
                Address(range.first_row, range.first_column).c_str(),
                Address(range.last_row, range.last_column).c_str());
    for (uint32_t row = range.first_row; row <= range.last_row; ++row) {
      for (uint32_t column = range.first_column; column <= range.last_column; ++column) {
        const CellValue value = sheet.value()->cell(row, column);
        if (value.kind == CellKind::kEmpty) continue;
        std::printf("%s %s\n", Address(row, column).c_str(), ValueText(value).c_str());
      }
    }
  }
  return all_read;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: xls_dump FILE...\n");
    return 2;
  }
  bool all_read = true;
  for (int i = 1; i < argc; ++i) all_read = DumpWorkbook(argv[i]) && all_read;
  return all_read ? 0 : 1;
}
