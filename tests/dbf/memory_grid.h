// A CellGrid held in memory, with owned texts, for the writer's tests.
#pragma once

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "engine/cell.h"

namespace dravella::engine::testing {

struct TestCell {
  CellKind kind = CellKind::kEmpty;
  double number = 0;
  std::string text;
};

inline TestCell Empty() { return {}; }
inline TestCell Text(std::string text) { return {CellKind::kText, 0, std::move(text)}; }
inline TestCell Number(double value) { return {CellKind::kNumber, value, {}}; }
inline TestCell Date(double serial) { return {CellKind::kDate, serial, {}}; }
inline TestCell Bool(bool value) { return {CellKind::kBoolean, value ? 1.0 : 0.0, {}}; }
inline TestCell Error(int code) { return {CellKind::kError, static_cast<double>(code), {}}; }

class MemoryGrid : public CellGrid {
 public:
  using Row = std::vector<TestCell>;

  explicit MemoryGrid(std::vector<Row> rows, DateSystem system = DateSystem::k1900)
      : rows_(std::move(rows)), system_(system) {
    for (const Row& row : rows_) columns_ = std::max(columns_, static_cast<uint32_t>(row.size()));
  }

  // A header row of names and one column of values below it.
  static MemoryGrid Column(std::string name, std::vector<TestCell> values,
                           DateSystem system = DateSystem::k1900) {
    std::vector<Row> rows{{Text(std::move(name))}};
    for (TestCell& value : values) rows.push_back({std::move(value)});
    return MemoryGrid(std::move(rows), system);
  }

  uint32_t rows() const override { return static_cast<uint32_t>(rows_.size()); }
  uint32_t columns() const override { return columns_; }
  DateSystem date_system() const override { return system_; }
  CellValue at(uint32_t row, uint32_t column) const override {
    if (row >= rows_.size() || column >= rows_[row].size()) return {};
    const TestCell& cell = rows_[row][column];
    return {cell.kind, cell.number, cell.text};
  }

 private:
  std::vector<Row> rows_;
  uint32_t columns_ = 0;
  DateSystem system_;
};

}  // namespace dravella::engine::testing
