// Helpers shared by the reader's tests: open a builder-made workbook, read a
// worksheet (throwing, so a failure shows its description), and show a cell
// the way xls_dump prints it, so expectations read like the dump.
#pragma once

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/xls/workbook_file.h"
#include "tests/support/xls_builder.h"

namespace dravella::engine::reader_test {

using testing::WorkbookBuilder;

inline Result<std::unique_ptr<WorkbookFile>> OpenBuilt(const WorkbookBuilder& book,
                                                       const std::string& name = "book.xls") {
  return WorkbookFile::OpenBytes(book.Build(), name);
}

inline std::unique_ptr<WorkbookFile> MustOpen(std::vector<uint8_t> bytes, const std::string& name = "book.xls") {
  auto opened = WorkbookFile::OpenBytes(std::move(bytes), name);
  if (!opened.ok()) throw std::runtime_error("open failed: " + opened.status().description());
  return std::move(opened).value();
}

inline std::unique_ptr<WorkbookFile> MustOpen(const WorkbookBuilder& book, const std::string& name = "book.xls") {
  return MustOpen(book.Build(), name);
}

inline const SheetData& MustRead(WorkbookFile& book, size_t index = 0) {
  auto sheet = book.worksheet(index);
  if (!sheet.ok()) throw std::runtime_error("worksheet failed: " + sheet.status().description());
  return *sheet.value();
}

// "number 1.5", "date 45000", "text \"abc\"", "boolean TRUE", "error 7", "empty".
inline std::string Show(const CellValue& value) {
  char number[40];
  std::snprintf(number, sizeof number, "%.17g", value.number);
  switch (value.kind) {
    case CellKind::kEmpty: return "empty";
    case CellKind::kNumber: return std::string("number ") + number;
    case CellKind::kDate: return std::string("date ") + number;
    case CellKind::kBoolean: return value.number != 0 ? "boolean TRUE" : "boolean FALSE";
    case CellKind::kError: return std::string("error ") + number;
    case CellKind::kText: return "text \"" + std::string(value.text) + "\"";
  }
  return "?";
}

inline std::string Show(const CellRange& r) {
  return std::to_string(r.first_row) + "," + std::to_string(r.first_column) + ".." + std::to_string(r.last_row) +
         "," + std::to_string(r.last_column);
}

}  // namespace dravella::engine::reader_test
