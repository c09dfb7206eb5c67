#include "engine/dbf/cell_text.h"

namespace dravella::engine::dbf {

std::string_view ErrorText(double code) {
  if (!(code >= 0 && code <= 0xFF)) return "#ERR!";
  switch (static_cast<int>(code)) {
    case 0x00: return "#NULL!";
    case 0x07: return "#DIV/0!";
    case 0x0F: return "#VALUE!";
    case 0x17: return "#REF!";
    case 0x1D: return "#NAME?";
    case 0x24: return "#NUM!";
    case 0x2A: return "#N/A";
    default: return "#ERR!";
  }
}

std::string_view CellText(const CellValue& cell, DateSystem system, CellTextScratch& scratch) {
  switch (EffectiveKind(cell)) {
    case CellKind::kEmpty:
      return {};
    case CellKind::kText:
      return cell.text;
    case CellKind::kNumber:
      return {scratch.bytes, WriteGeneralText(cell.number, scratch.bytes)};
    case CellKind::kDate:
      return {scratch.bytes, WriteDateText(SerialToCalendar(cell.number, system), scratch.bytes)};
    case CellKind::kBoolean:
      return cell.number != 0 ? "TRUE" : "FALSE";
    case CellKind::kError:
      return ErrorText(cell.number);
  }
  return {};
}

}  // namespace dravella::engine::dbf
