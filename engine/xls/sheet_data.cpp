#include "engine/xls/sheet_data.h"

#include <algorithm>
#include <bit>

namespace dravella::engine {

CellValue SheetData::ValueOf(const PackedCell& cell) const {
  CellValue value;
  value.kind = cell.kind;
  if (cell.kind == CellKind::kText) {
    // The store's own offsets: inside their arena by construction.
    const std::string_view arena = cell.in_shared_table ? shared_texts_->bytes() : texts_.bytes();
    value.text = std::string_view(arena.data() + cell.payload_low, cell.payload_high);
  } else {
    value.number = std::bit_cast<double>(cell.payload());
  }
  return value;
}

CellValue SheetData::cell(uint32_t row, uint32_t column) const {
  if (cells_.empty() || row < range_.first_row || row > range_.last_row || column > 0xFFFF) return {};
  const size_t r = row - range_.first_row;
  const auto begin = cells_.begin() + row_starts_[r];
  const auto end = cells_.begin() + row_starts_[r + 1];
  const auto it = std::lower_bound(begin, end, column,
                                   [](const PackedCell& c, uint32_t wanted) { return c.column < wanted; });
  if (it == end || it->column != column) return {};
  return ValueOf(*it);
}

void SheetData::ReadRow(uint32_t row, uint32_t first_column, std::span<CellValue> out) const {
  if (cells_.empty() || row < range_.first_row || row > range_.last_row) {
    std::fill(out.begin(), out.end(), CellValue{});
    return;
  }
  // The row's cells are in column order: one walk fills every place, each
  // once, an empty value where no cell is stored.
  const size_t r = row - range_.first_row;
  size_t i = row_starts_[r];
  const size_t end = row_starts_[r + 1];
  while (i < end && cells_[i].column < first_column) ++i;
  const char* const shared = shared_texts_ ? shared_texts_->bytes().data() : nullptr;
  const char* const own = texts_.bytes().data();
  for (size_t place = 0; place < out.size(); ++place) {
    CellValue& value = out[place];
    if (i < end && cells_[i].column - first_column == place) {
      const PackedCell& cell = cells_[i++];
      value.kind = cell.kind;
      if (cell.kind == CellKind::kText) {
        value.number = 0;
        value.text = std::string_view((cell.in_shared_table ? shared : own) + cell.payload_low, cell.payload_high);
      } else {
        value.number = std::bit_cast<double>(cell.payload());
        value.text = {};
      }
    } else {
      value = CellValue{};
    }
  }
}

namespace xls {

SheetDataBuilder::SheetDataBuilder(std::shared_ptr<const TextArena> shared_texts)
    : sheet_(new SheetData()) {
  sheet_->shared_texts_ = std::move(shared_texts);
  sheet_->range_ = CellRange{UINT32_MAX, UINT32_MAX, 0, 0};
}

void SheetDataBuilder::Touch(uint16_t row, uint16_t column) {
  // The range starts inverted (first past last), so every cell just widens it.
  CellRange& r = sheet_->range_;
  r.first_row = std::min<uint32_t>(r.first_row, row);
  r.last_row = std::max<uint32_t>(r.last_row, row);
  r.first_column = std::min<uint32_t>(r.first_column, column);
  r.last_column = std::max<uint32_t>(r.last_column, column);
}

void SheetDataBuilder::Reserve(size_t cells) {
  auto& store = sheet_->cells_;
  if (!store.empty()) return;
  store.reserve(cells);
  prefault_.Start({SpareRoom(store)});
}

void SheetDataBuilder::AddSlowly(uint16_t row, uint16_t column, CellKind kind, bool shared, uint64_t payload) {
  Touch(row, column);
  auto& cells = sheet_->cells_;
  const SheetData::PackedCell cell{column, kind, shared, static_cast<uint32_t>(payload),
                                   static_cast<uint32_t>(payload >> 32)};
  const uint32_t position = (uint32_t{row} << 16) | column;
  if (in_order_) {
    if (!cells.empty()) {
      if (position <= last_position_) {
        if (position == last_position_) {
          cells.back() = cell;  // a later record of the same cell wins
          return;
        }
        LeaveOrder();
      }
    } else {
      indexed_first_row_ = row;
    }
    if (in_order_) {
      // A new row; rows without cells before it get empty entries.
      auto& starts = sheet_->row_starts_;
      const auto count = static_cast<uint32_t>(cells.size());
      while (indexed_first_row_ + starts.size() <= row) starts.push_back(count);
      indexed_row_ = row;
    }
  }
  if (!in_order_) rows_.push_back(row);
  last_position_ = position;
  if (cells.size() == cells.capacity()) prefault_.Wait();  // the store is about to move
  cells.push_back(cell);
}

void SheetDataBuilder::LeaveOrder() {
  in_order_ = false;
  // The rows of the cells so far, from the index built for them.
  const auto& starts = sheet_->row_starts_;
  rows_.reserve(sheet_->cells_.capacity());
  for (size_t r = 0; r < starts.size(); ++r) {
    const size_t end = r + 1 < starts.size() ? starts[r + 1] : sheet_->cells_.size();
    rows_.insert(rows_.end(), end - starts[r], static_cast<uint16_t>(indexed_first_row_ + r));
  }
}

void SheetDataBuilder::AddOwnText(uint16_t row, uint16_t column, size_t start) {
  const TextRef text = sheet_->texts_.Since(start);
  if (text.length == 0) return AddEmpty(row, column);
  Add(row, column, CellKind::kText, false, text.offset | (uint64_t{text.length} << 32));
}

void SheetDataBuilder::AddEmpty(uint16_t row, uint16_t column) {
  // An empty cell widens the used range but stores nothing: whole rows of
  // formatted blanks would otherwise cost 16 bytes a cell. (So a blank never
  // erases an earlier value of the same cell; files do not hold both.)
  Touch(row, column);
}

void SheetDataBuilder::SortAndIndex() {
  auto& cells = sheet_->cells_;
  const auto position_of = [this, &cells](uint32_t i) { return (uint32_t{rows_[i]} << 16) | cells[i].column; };
  std::vector<uint32_t> order(cells.size());
  for (uint32_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [&](uint32_t a, uint32_t b) { return position_of(a) < position_of(b); });
  // Keep the last record of each cell, row by row.
  const CellRange& range = sheet_->range_;
  auto& starts = sheet_->row_starts_;
  starts.assign(size_t{range.last_row} - range.first_row + 2, 0);
  std::vector<SheetData::PackedCell> sorted;
  sorted.reserve(order.size());
  for (size_t k = 0; k < order.size(); ++k) {
    if (k + 1 < order.size() && position_of(order[k + 1]) == position_of(order[k])) continue;
    ++starts[rows_[order[k]] - range.first_row + 1];
    sorted.push_back(cells[order[k]]);
  }
  for (size_t r = 1; r < starts.size(); ++r) starts[r] += starts[r - 1];
  cells = std::move(sorted);
  rows_ = {};
}

std::unique_ptr<SheetData> SheetDataBuilder::Finish() {
  prefault_.Wait();
  auto& cells = sheet_->cells_;
  auto& starts = sheet_->row_starts_;
  if (sheet_->range_.first_row > sheet_->range_.last_row) sheet_->range_ = CellRange{};  // no cell at all
  const CellRange& range = sheet_->range_;
  if (!in_order_) {
    SortAndIndex();
  } else if (cells.empty()) {
    starts.assign(size_t{range.last_row} - range.first_row + 2, 0);
  } else {
    // Blank cells may widen the range above the first stored row and below
    // the last one; those rows hold no stored cell.
    starts.insert(starts.begin(), indexed_first_row_ - range.first_row, 0);
    starts.resize(size_t{range.last_row} - range.first_row + 2, static_cast<uint32_t>(cells.size()));
  }
  // A store reserved for far more cells than came (a DIMENSIONS record
  // counting blanks, or lying) gives the room back.
  if (cells.capacity() / 2 > cells.size()) cells.shrink_to_fit();
  return std::move(sheet_);
}

}  // namespace xls
}  // namespace dravella::engine
