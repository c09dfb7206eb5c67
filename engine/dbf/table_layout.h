// The whole table planned before anything is written: its fields, record
// length and record count, checked against the limits of its level.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/cell.h"
#include "engine/dbf/column_layout.h"
#include "engine/dbf/dbf_options.h"
#include "engine/status.h"

namespace dravella::engine::dbf {

struct TableLayout {
  DbfLevel level = DbfLevel::kDbase3;
  CodePage code_page = CodePage::k1252;
  DateSystem date_system = DateSystem::k1900;
  std::vector<FieldLayout> fields;
  uint32_t record_count = 0;
  uint32_t record_length = 1;  // the deletion flag and every field
  bool has_memo = false;
};

// Reads every cell once. Row 0 gives the names, rows 1.. the records; an
// empty grid counts as one empty cell. Fails with kTooManyFields,
// kTooManyRecords or kRecordTooLong (kWriteFailed for a memo file beyond
// the format's block numbers), the description naming the limit.
// With side_by_side, a large grid that reads_concurrently() is surveyed by
// two threads, half the rows each; the plan is the same.
Result<TableLayout> PlanTable(const CellGrid& grid, DbfLevel level, CodePage page,
                              bool side_by_side = false);

// Records from which a second thread is worth starting.
inline constexpr uint32_t kSideBySideRecords = 16384;

}  // namespace dravella::engine::dbf
