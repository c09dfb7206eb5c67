#include "engine/cell_address.h"

namespace dravella::engine {
namespace {

constexpr uint32_t kMaxColumns = 16384;   // XFD
constexpr uint32_t kMaxRows = 1048576;

}  // namespace

std::string ColumnLetters(uint32_t column) {
  std::string letters;
  uint64_t n = static_cast<uint64_t>(column) + 1;
  while (n > 0) {
    const auto rest = static_cast<char>((n - 1) % 26);
    letters.insert(letters.begin(), static_cast<char>('A' + rest));
    n = (n - 1) / 26;
  }
  return letters;
}

std::string AbsoluteAddress(CellPosition cell) {
  std::string address = "$";
  address.append(ColumnLetters(cell.column)).append("$").append(std::to_string(uint64_t{cell.row} + 1));
  return address;
}

std::optional<CellPosition> ParseAddress(std::string_view address) {
  size_t pos = 0;
  if (pos < address.size() && address[pos] == '$') ++pos;
  uint64_t column = 0;
  size_t letters = 0;
  while (pos < address.size()) {
    char c = address[pos];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c < 'A' || c > 'Z') break;
    column = column * 26 + static_cast<uint64_t>(c - 'A' + 1);
    if (++letters > 3) return std::nullopt;
    ++pos;
  }
  if (letters == 0) return std::nullopt;
  if (pos < address.size() && address[pos] == '$') ++pos;
  uint64_t row = 0;
  size_t digits = 0;
  while (pos < address.size() && address[pos] >= '0' && address[pos] <= '9') {
    row = row * 10 + static_cast<uint64_t>(address[pos] - '0');
    if (++digits > 7) return std::nullopt;
    ++pos;
  }
  if (digits == 0 || pos != address.size()) return std::nullopt;
  if (row < 1 || row > kMaxRows || column > kMaxColumns) return std::nullopt;
  return CellPosition{static_cast<uint32_t>(row - 1), static_cast<uint32_t>(column - 1)};
}

}  // namespace dravella::engine
