// Fuzzes the workbook reader: any bytes must give a workbook or a clean
// error (a positive number and a description), never a crash, a hang or
// memory out of proportion. Every worksheet is read and the cells of its used
// range walked (up to a cap), every text checked to be valid UTF-8.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "engine/xls/workbook_file.h"

namespace {

using dravella::engine::CellKind;
using dravella::engine::CellRange;
using dravella::engine::CellValue;
using dravella::engine::WorkbookFile;

constexpr size_t kMaxCellsWalked = 200000;

bool IsValidUtf8(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    const auto b = static_cast<unsigned char>(text[i]);
    size_t length = 0;
    uint32_t code_point = 0;
    if (b < 0x80) {
      ++i;
      continue;
    } else if ((b & 0xE0) == 0xC0) {
      length = 2;
      code_point = b & 0x1F;
    } else if ((b & 0xF0) == 0xE0) {
      length = 3;
      code_point = b & 0x0F;
    } else if ((b & 0xF8) == 0xF0) {
      length = 4;
      code_point = b & 0x07;
    } else {
      return false;
    }
    if (i + length > text.size()) return false;
    for (size_t k = 1; k < length; ++k) {
      const auto c = static_cast<unsigned char>(text[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      code_point = (code_point << 6) | (c & 0x3F);
    }
    const uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code_point < smallest[length] || code_point > 0x10FFFF || (code_point >= 0xD800 && code_point <= 0xDFFF)) {
      return false;
    }
    i += length;
  }
  return true;
}

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto opened = WorkbookFile::OpenBytes(std::vector<uint8_t>(data, data + size), "fuzz.xls");
  if (!opened.ok()) {
    Check(opened.status().number() > 0 && !opened.status().description().empty());
    return 0;
  }
  WorkbookFile& book = *opened.value();
  size_t walked = 0;
  for (size_t i = 0; i < book.worksheet_count(); ++i) {
    Check(IsValidUtf8(book.worksheet_name(i)));
    auto sheet = book.worksheet(i);
    if (!sheet.ok()) {
      Check(sheet.status().number() > 0 && !sheet.status().description().empty());
      continue;
    }
    const CellRange range = sheet.value()->used_range();
    Check(range.first_row <= range.last_row && range.first_column <= range.last_column);
    for (uint32_t row = range.first_row; row <= range.last_row && walked < kMaxCellsWalked; ++row) {
      for (uint32_t column = range.first_column; column <= range.last_column && walked < kMaxCellsWalked;
           ++column, ++walked) {
        const CellValue value = sheet.value()->cell(row, column);
        if (value.kind == CellKind::kText) Check(!value.text.empty() && IsValidUtf8(value.text));
      }
    }
    Check(book.worksheet(i).value() == sheet.value());  // cached
  }
  return 0;
}
