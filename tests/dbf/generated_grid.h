// A CellGrid whose cells come from a function: large grids without memory.
#pragma once

#include <functional>
#include <utility>

#include "engine/cell.h"

namespace dravella::engine::testing {

class GeneratedGrid : public CellGrid {
 public:
  using CellFunction = std::function<CellValue(uint32_t row, uint32_t column)>;

  GeneratedGrid(uint32_t rows, uint32_t columns, CellFunction cell)
      : rows_(rows), columns_(columns), cell_(std::move(cell)) {}

  uint32_t rows() const override { return rows_; }
  uint32_t columns() const override { return columns_; }
  DateSystem date_system() const override { return DateSystem::k1900; }
  CellValue at(uint32_t row, uint32_t column) const override { return cell_(row, column); }

 private:
  uint32_t rows_;
  uint32_t columns_;
  CellFunction cell_;
};

// Texts of a fixed length below a header row of names.
inline GeneratedGrid TextGrid(uint32_t rows, uint32_t columns, std::string_view text) {
  return GeneratedGrid(rows, columns, [text](uint32_t row, uint32_t) {
    if (row == 0) return CellValue{CellKind::kText, 0, "Name"};
    return CellValue{CellKind::kText, 0, text};
  });
}

}  // namespace dravella::engine::testing
