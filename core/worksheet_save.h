// Saving one worksheet of an open workbook as one dBASE table.
#pragma once

#include <cstdint>
#include <string>

#include "engine/object_model.h"

namespace dravella::core {

enum class SaveOutcome { kSaved, kEmpty };

// Activates the worksheet, fits and selects its used range and saves it at
// target_path in the given file format (7, 8 or 11). A worksheet whose used
// range is one cell while its cell A1 is empty counts as empty: nothing is
// selected or saved. Errors of the application are not caught here.
SaveOutcome SaveWorksheetAsDbf(engine::Workbook& workbook, int16_t worksheet_number,
                               const std::string& target_path, int32_t file_format);

}  // namespace dravella::core
