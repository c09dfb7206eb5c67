// What a cell shows as text: the content of a C field and of a field name.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/cell.h"
#include "engine/dbf/calendar.h"
#include "engine/dbf/number_text.h"

namespace dravella::engine::dbf {

// The kind the table goes by: a date whose serial is not a date (negative,
// too large, not finite) is a number; a text of length 0 is empty. Asked of
// every cell more than once, so it is inline.
inline CellKind EffectiveKind(const CellValue& cell) {
  if (cell.kind == CellKind::kDate && !IsDateSerial(cell.number)) return CellKind::kNumber;
  if (cell.kind == CellKind::kText && cell.text.empty()) return CellKind::kEmpty;
  return cell.kind;
}

// "#DIV/0!" for 0x07 and so on; "#ERR!" for a code the format does not define.
std::string_view ErrorText(double code);

// Room for the text of a cell that is not a text cell.
struct CellTextScratch {
  char bytes[kNumberTextCapacity > kDateTextCapacity ? kNumberTextCapacity : kDateTextCapacity];
};

// The cell's text in UTF-8: a text as it is, a number's general text, a
// date's date text, TRUE or FALSE, an error's text; empty for an empty
// cell. Borrows from the cell or from scratch.
std::string_view CellText(const CellValue& cell, DateSystem system, CellTextScratch& scratch);

}  // namespace dravella::engine::dbf
