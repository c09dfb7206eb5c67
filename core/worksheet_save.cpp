#include "core/worksheet_save.h"

namespace dravella::core {

SaveOutcome SaveWorksheetAsDbf(engine::Workbook& workbook, int16_t worksheet_number,
                               const std::string& target_path, int32_t file_format) {
  const std::shared_ptr<engine::Worksheet> sheet = workbook.Worksheets(worksheet_number);
  sheet->Activate();
  const int32_t rows = sheet->UsedRange()->RowsCount();
  const int32_t columns = sheet->UsedRange()->ColumnsCount();

  // A one-cell used range is empty when the worksheet's own A1 is empty, even
  // when the one cell lies elsewhere.
  if (rows == 1 && columns == 1 && sheet->Cells(1, 1)->Value().kind == engine::CellKind::kEmpty) {
    return SaveOutcome::kEmpty;
  }

  const std::shared_ptr<engine::Range> used = sheet->UsedRange();
  const std::string first = used->Cells(1, 1)->Address();
  const std::string last = used->Cells(rows, columns)->Address();
  sheet->ColumnsAutoFit();
  sheet->RangeOf(first, last)->Select();
  sheet->SaveAs(target_path, file_format);
  return SaveOutcome::kSaved;
}

}  // namespace dravella::core
