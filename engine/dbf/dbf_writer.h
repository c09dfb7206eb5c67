// Saves a rectangle of cells as a dBASE table (.dbf), with its memo file
// (.dbt) and code-page file (.cpg) when the table needs them.
#pragma once

#include <filesystem>

#include "engine/cell.h"
#include "engine/dbf/dbf_options.h"
#include "engine/status.h"

namespace dravella::engine {

// Row 0 of the grid gives the field names, rows 1.. the records. The files
// are written under temporary names in the target's folder and renamed into
// place only when complete: a failed save leaves no file behind and an
// earlier table of that name untouched. A table that exceeds a limit of its
// level is refused before anything is written. After a save, no .dbt or
// .cpg file of the same base name remains unless the new table uses it.
Status WriteDbfTable(const CellGrid& grid, const std::filesystem::path& target,
                     const DbfOptions& options);

}  // namespace dravella::engine
