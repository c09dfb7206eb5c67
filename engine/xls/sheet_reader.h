// Reads the cell records of one worksheet substream into a SheetData.
#pragma once

#include <memory>
#include <string>

#include "engine/status.h"
#include "engine/xls/byte_source.h"
#include "engine/xls/sheet_data.h"
#include "engine/xls/workbook_globals.h"

namespace dravella::engine::xls {

// Reads the worksheet whose BOF record lies at entry.bof_offset of stream,
// a window at a time.
Result<std::unique_ptr<SheetData>> ReadWorksheet(const ByteSource& stream, const WorksheetEntry& entry,
                                                 const WorkbookGlobals& globals);

}  // namespace dravella::engine::xls
