// One worksheet's cells as read from the workbook, kept compact: the
// non-empty cells packed 12 bytes each and sorted by row and column, a row
// index over them (which is where a cell's row is kept), and the texts in
// one arena.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "engine/cell.h"
#include "engine/xls/prefault.h"
#include "engine/xls/text_arena.h"

namespace dravella::engine {

// Dates lie in 0 .. 9999-12-31 23:59:59; beyond it a date-formatted number
// stays a number.
inline constexpr double kLastDateSerial = 2958465.99999;

// A rectangle of cells: 0-based rows and columns, both ends included.
struct CellRange {
  uint32_t first_row = 0, first_column = 0, last_row = 0, last_column = 0;
};

namespace xls {
class SheetDataBuilder;
}

class SheetData {
 public:
  // The bounding box of every cell record of the worksheet, formatted blank
  // cells and empty texts included; A1..A1 (all zero) when there is none.
  CellRange used_range() const { return range_; }

  // The cell at a 0-based position; kEmpty outside the used range or where
  // no value is stored. A text stays valid while the workbook lives.
  CellValue cell(uint32_t row, uint32_t column) const;
  // The cells of a row from first_column on, out.size() of them, in one
  // pass over the row's stored cells.
  void ReadRow(uint32_t row, uint32_t first_column, std::span<CellValue> out) const;

  size_t stored_cell_count() const { return cells_.size(); }

 private:
  friend class xls::SheetDataBuilder;

  struct PackedCell {
    uint16_t column;
    CellKind kind;
    bool in_shared_table;  // text: in the workbook's shared strings, not this sheet's
    // number: its bits; text: offset | length << 32. Two halves, so that a
    // cell takes 12 bytes, not 16.
    uint32_t payload_low;
    uint32_t payload_high;
    uint64_t payload() const { return payload_low | uint64_t{payload_high} << 32; }
  };
  static_assert(sizeof(PackedCell) == 12);
  CellValue ValueOf(const PackedCell& cell) const;

  CellRange range_;
  std::vector<PackedCell> cells_;
  // cells_[row_starts_[r - first_row] .. row_starts_[r - first_row + 1]) are row r's.
  std::vector<uint32_t> row_starts_;
  xls::TextArena texts_;
  std::shared_ptr<const xls::TextArena> shared_texts_;
};

namespace xls {

// Collects a worksheet's cells in record order; a later value for the same
// cell replaces an earlier one. Cells nearly always come row by row, so the
// row index grows with them; only a file whose records are out of order is
// sorted and indexed at the end.
class SheetDataBuilder {
 public:
  explicit SheetDataBuilder(std::shared_ptr<const TextArena> shared_texts);
  // Room for this many cells, so the store is not regrown while reading; a
  // large store is mapped in on a second thread meanwhile.
  void Reserve(size_t cells);

  // These are called for every cell: inline, with the next cell of the
  // current row taking the shortest way.
  void AddNumber(uint16_t row, uint16_t column, double value, bool date_format) {
    const bool date = date_format && value >= 0 && value <= kLastDateSerial;
    Add(row, column, date ? CellKind::kDate : CellKind::kNumber, false, std::bit_cast<uint64_t>(value));
  }
  void AddBoolean(uint16_t row, uint16_t column, bool value) {
    Add(row, column, CellKind::kBoolean, false, std::bit_cast<uint64_t>(value ? 1.0 : 0.0));
  }
  void AddError(uint16_t row, uint16_t column, uint8_t code) {
    Add(row, column, CellKind::kError, false, std::bit_cast<uint64_t>(static_cast<double>(code)));
  }
  // A text from the shared string table.
  void AddSharedText(uint16_t row, uint16_t column, TextRef text) {
    if (text.length == 0) return AddEmpty(row, column);
    Add(row, column, CellKind::kText, true, text.offset | (uint64_t{text.length} << 32));
  }
  // A text of this sheet: the caller appended it to text_buffer() since start.
  void AddOwnText(uint16_t row, uint16_t column, size_t start);
  // A cell record without a value: a blank, or an empty text.
  void AddEmpty(uint16_t row, uint16_t column);

  std::string* text_buffer() { return sheet_->texts_.buffer(); }

  std::unique_ptr<SheetData> Finish();

 private:
  void Touch(uint16_t row, uint16_t column);
  void Add(uint16_t row, uint16_t column, CellKind kind, bool shared, uint64_t payload) {
    const uint32_t position = (uint32_t{row} << 16) | column;
    std::vector<SheetData::PackedCell>& cells = sheet_->cells_;
    if (in_order_ && row == indexed_row_ && position > last_position_ && cells.size() < cells.capacity()) {
      // The row is in the range already; only the column may widen it.
      CellRange& range = sheet_->range_;
      range.first_column = std::min<uint32_t>(range.first_column, column);
      range.last_column = std::max<uint32_t>(range.last_column, column);
      last_position_ = position;
      cells.push_back({column, kind, shared, static_cast<uint32_t>(payload), static_cast<uint32_t>(payload >> 32)});
      return;
    }
    AddSlowly(row, column, kind, shared, payload);
  }
  void AddSlowly(uint16_t row, uint16_t column, CellKind kind, bool shared, uint64_t payload);

  // Records out of order: from here on each cell's row is kept beside it.
  void LeaveOrder();
  void SortAndIndex();
  std::unique_ptr<SheetData> sheet_;
  bool in_order_ = true;
  uint32_t indexed_first_row_ = 0;     // the row of row_starts_[0] while in order
  uint32_t indexed_row_ = UINT32_MAX;  // the last row given a row_starts_ entry
  uint32_t last_position_ = 0;         // row << 16 | column of the last cell stored
  std::vector<uint16_t> rows_;         // each cell's row, once out of order
  Prefault prefault_;  // of the reserved store; waited for before it could move
};

}  // namespace xls
}  // namespace dravella::engine
