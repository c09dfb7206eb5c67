// One cell's value as the engine sees it, and a rectangle of them.
//
// The reader produces these; the dBASE writer consumes a CellGrid. Texts are
// UTF-8 and borrowed: they stay valid while the worksheet that owns them lives.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace dravella::engine {

enum class CellKind : uint8_t { kEmpty, kNumber, kDate, kBoolean, kError, kText };

struct CellValue {
  CellKind kind = CellKind::kEmpty;
  // kNumber and kDate: the value (a date is its serial number);
  // kBoolean: 0 or 1; kError: the BIFF error code (0x07 for #DIV/0! ...).
  double number = 0;
  std::string_view text;  // kText only
};

// How date serial numbers count: from 1900-01-00 (with the phantom
// 1900-02-29) or from 1904-01-01.
enum class DateSystem : uint8_t { k1900, k1904 };

// A rectangular block of cells, addressed from (0, 0) at its top left.
class CellGrid {
 public:
  virtual ~CellGrid() = default;
  virtual uint32_t rows() const = 0;
  virtual uint32_t columns() const = 0;
  virtual CellValue at(uint32_t row, uint32_t column) const = 0;
  // The cells of a row from column 0 on, out.size() of them: what the
  // writer asks for, one row per call.
  virtual void RowAt(uint32_t row, std::span<CellValue> out) const {
    for (uint32_t c = 0; c < out.size(); ++c) out[c] = at(row, c);
  }
  virtual DateSystem date_system() const = 0;
  // True when two threads may read the grid at once (cells held in memory,
  // no state changed by reading): a large table is then written by two.
  virtual bool reads_concurrently() const { return false; }
};

}  // namespace dravella::engine
