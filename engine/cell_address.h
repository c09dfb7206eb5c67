// A1-style cell addresses: "$C$5" for row 5, column 3.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dravella::engine {

struct CellPosition {
  uint32_t row;     // 0-based
  uint32_t column;  // 0-based
};

// "A" for column 0, "Z" for 25, "AA" for 26 ... "XFD" for 16383.
std::string ColumnLetters(uint32_t column);

// The absolute address of a cell: "$" column letters "$" row number.
std::string AbsoluteAddress(CellPosition cell);

// Reads "$C$5", "C5", "$C5" or "C$5" (letters in either case); nullopt for
// anything else, or a position beyond column XFD or row 1048576.
std::optional<CellPosition> ParseAddress(std::string_view address);

}  // namespace dravella::engine
