// The worksheet choices of the desktop program, per workbook of its workbook
// list: for workbook w (0 to 500) and worksheet s (1 to 5000), the label shown
// for the worksheet and whether it is ticked.
//
// It behaves like a fixed table of 501 x 5001 empty texts, but keeps only
// what was stored: a full table of strings would take hundreds of megabytes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dravella::core {

class SheetTable {
 public:
  static constexpr int32_t kLastWorkbook = 500;
  static constexpr int32_t kLastWorksheet = 5000;

  // The label of a worksheet; the empty text when none was stored or the
  // indices lie outside the table.
  const std::string& Label(int32_t workbook, int32_t worksheet) const;
  // The chosen flag as the table holds it: "1" when ticked, else "".
  std::string_view ChosenFlag(int32_t workbook, int32_t worksheet) const;
  bool IsChosen(int32_t workbook, int32_t worksheet) const {
    return ChosenFlag(workbook, worksheet) == "1";
  }
  // A workbook counts as listed when the label of its worksheet 1 is not empty.
  bool IsListed(int32_t workbook) const { return !Label(workbook, 1).empty(); }

  // Stores label and flag; indices outside the table are ignored.
  void Store(int32_t workbook, int32_t worksheet, std::string label, bool chosen);

  // Empties the whole table.
  void Clear();

 private:
  struct Entry {
    std::string label;
    bool chosen = false;
  };
  static bool InRange(int32_t workbook, int32_t worksheet);
  std::array<std::vector<Entry>, kLastWorkbook + 1> workbooks_;
};

}  // namespace dravella::core
