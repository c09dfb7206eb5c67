#include "engine/dbf/table_layout.h"

#include <algorithm>
#include <atomic>
#include <string>

#include "engine/dbf/cell_text.h"
#include "engine/dbf/field_names.h"
#include "engine/dbf/level_rules.h"
#include "engine/dbf/memo_file.h"
#include "engine/dbf/side_by_side.h"

namespace dravella::engine::dbf {
namespace {

constexpr uint64_t kLargestMemoBlock = 0xFFFFFFFF;

std::vector<std::string> HeaderTexts(const CellGrid& grid, uint32_t columns) {
  std::vector<std::string> texts(columns);
  if (grid.rows() == 0) return texts;
  for (uint32_t c = 0; c < std::min(columns, grid.columns()); ++c) {
    CellTextScratch scratch;
    texts[c] = std::string(CellText(grid.at(0, c), grid.date_system(), scratch));
  }
  return texts;
}

}  // namespace

Result<TableLayout> PlanTable(const CellGrid& grid, DbfLevel level, CodePage page, bool side_by_side) {
  const LevelRules& rules = RulesOf(level);
  const uint32_t columns = std::max<uint32_t>(grid.columns(), 1);
  const uint32_t records = grid.rows() > 1 ? grid.rows() - 1 : 0;
  if (columns > rules.max_fields) {
    return Status::Error(ErrorCode::kTooManyFields,
                         "The worksheet has " + std::to_string(columns) + " columns; a " +
                             std::string(rules.name) + " table holds at most " +
                             std::to_string(rules.max_fields) + " fields.");
  }
  if (records > rules.max_records) {
    return Status::Error(ErrorCode::kTooManyRecords,
                         "The worksheet has " + std::to_string(records) + " records; a " +
                             std::string(rules.name) + " table holds at most " +
                             std::to_string(rules.max_records) + " records.");
  }

  TableLayout layout;
  layout.level = level;
  layout.code_page = page;
  layout.date_system = grid.date_system();
  layout.record_count = records;

  const uint32_t grid_columns = std::min(columns, grid.columns());
  // Each thread has its own row of cells, made here: nothing is allocated on
  // the second thread.
  std::vector<CellValue> cells(grid_columns);
  std::vector<CellValue> second_cells(grid_columns);
  const auto survey_rows = [&grid, grid_columns](uint32_t first, uint32_t last, std::vector<CellValue>& cells,
                                                 std::vector<ColumnSurvey>& surveys) {
    for (uint32_t row = first; row <= last; ++row) {
      grid.RowAt(row, cells);
      for (uint32_t c = 0; c < grid_columns; ++c) surveys[c].Add(cells[c]);
    }
  };
  std::vector<ColumnSurvey> surveys(columns, ColumnSurvey(grid.date_system(), page));
  bool surveyed = false;
  if (side_by_side && records >= kSideBySideRecords && grid.reads_concurrently()) {
    // Two threads take the next block of rows in turn, each into surveys of
    // its own, and the second's findings are added in at the end: a slower
    // thread simply takes fewer blocks.
    std::vector<ColumnSurvey> second(columns, ColumnSurvey(grid.date_system(), page));
    for (uint32_t c = 0; c < columns; ++c) {
      surveys[c].PrepareMemo();
      second[c].PrepareMemo();
    }
    constexpr uint32_t kRowsPerTake = 4096;
    std::atomic<uint32_t> next_row{1};
    const auto take_rows = [&](std::vector<CellValue>& row_cells, std::vector<ColumnSurvey>& taker) {
      for (;;) {
        const uint32_t first = next_row.fetch_add(kRowsPerTake);
        if (first > records) return;
        survey_rows(first, std::min(records, first + kRowsPerTake - 1), row_cells, taker);
      }
    };
    surveyed = RunSideBySide([&] { take_rows(cells, surveys); }, [&] { take_rows(second_cells, second); });
    if (surveyed) {
      for (uint32_t c = 0; c < columns; ++c) surveys[c].Merge(second[c]);
    }
  }
  if (!surveyed) survey_rows(1, records, cells, surveys);

  const std::vector<std::string> names = MakeFieldNames(HeaderTexts(grid, columns), page);
  uint64_t record_length = 1;
  uint64_t memo_blocks = 1;  // block 0
  layout.fields.reserve(columns);
  for (uint32_t c = 0; c < columns; ++c) {
    FieldLayout field = surveys[c].Decide(level);
    field.name = names[c];
    record_length += static_cast<uint64_t>(field.width);
    if (field.type == FieldType::kMemo) {
      layout.has_memo = true;
      memo_blocks += surveys[c].MemoBlocks(level);
    }
    layout.fields.push_back(std::move(field));
  }
  if (record_length > rules.max_record_length) {
    return Status::Error(ErrorCode::kRecordTooLong,
                         "The records would be " + std::to_string(record_length) +
                             " bytes long (deletion flag included); a " +
                             std::string(rules.name) + " table allows at most " +
                             std::to_string(rules.max_record_length) + " bytes per record.");
  }
  if (layout.has_memo && memo_blocks > kLargestMemoBlock) {
    return Status::Error(ErrorCode::kWriteFailed,
                         "The memo texts would fill " + std::to_string(memo_blocks) +
                             " blocks of 512 bytes; a " + std::string(rules.name) +
                             " memo file holds at most " + std::to_string(kLargestMemoBlock) +
                             " blocks.");
  }
  layout.record_length = static_cast<uint32_t>(record_length);
  return layout;
}

}  // namespace dravella::engine::dbf
