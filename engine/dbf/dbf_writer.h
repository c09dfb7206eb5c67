// Saves a rectangle of cells as a dBASE table (.dbf), with its memo file
// (.dbt) and code-page file (.cpg) when the table needs them.
#pragma once

#include <cstdint>
#include <filesystem>

#include "engine/cell.h"
#include "engine/dbf/dbf_options.h"
#include "engine/status.h"

namespace dravella::engine {

// What a save tells beside its status.
struct SaveStatistics {
  // Characters written as '?' because the code page cannot hold them.
  int64_t replaced_characters = 0;
};

// Row 0 of the grid gives the field names, rows 1.. the records. The files
// are written under temporary names in the target's folder and put into
// place together only when complete: a failed save leaves no file behind and
// the earlier table of that name, with its memo and code-page files,
// untouched. A table that exceeds a limit of its level is refused before
// anything is written. After a save, no .dbt or .cpg file of the same base
// name remains unless the new table uses it.
Status WriteDbfTable(const CellGrid& grid, const std::filesystem::path& target,
                     const DbfOptions& options, SaveStatistics* statistics = nullptr);

}  // namespace dravella::engine
