#include "core/sheet_table.h"

namespace dravella::core {
namespace {

const std::string kEmpty;

}  // namespace

bool SheetTable::InRange(int32_t workbook, int32_t worksheet) {
  return workbook >= 0 && workbook <= kLastWorkbook && worksheet >= 0 && worksheet <= kLastWorksheet;
}

const std::string& SheetTable::Label(int32_t workbook, int32_t worksheet) const {
  if (!InRange(workbook, worksheet)) return kEmpty;
  const std::vector<Entry>& sheets = workbooks_[workbook];
  return static_cast<size_t>(worksheet) < sheets.size() ? sheets[worksheet].label : kEmpty;
}

std::string_view SheetTable::ChosenFlag(int32_t workbook, int32_t worksheet) const {
  if (!InRange(workbook, worksheet)) return {};
  const std::vector<Entry>& sheets = workbooks_[workbook];
  const bool chosen = static_cast<size_t>(worksheet) < sheets.size() && sheets[worksheet].chosen;
  return chosen ? "1" : "";
}

void SheetTable::Store(int32_t workbook, int32_t worksheet, std::string label, bool chosen) {
  if (!InRange(workbook, worksheet)) return;
  std::vector<Entry>& sheets = workbooks_[workbook];
  if (static_cast<size_t>(worksheet) >= sheets.size()) sheets.resize(worksheet + 1);
  sheets[worksheet] = Entry{std::move(label), chosen};
}

void SheetTable::Clear() {
  for (std::vector<Entry>& sheets : workbooks_) {
    sheets.clear();
    sheets.shrink_to_fit();
  }
}

}  // namespace dravella::core
