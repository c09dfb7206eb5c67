// A large table is planned and formatted by two threads when the grid allows
// it: the table, memo file and '?' count must be those of one thread.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/dbf/dbf_writer.h"
#include "engine/dbf/table_layout.h"
#include "tests/dbf/dbf_test_files.h"
#include "tests/dbf/memory_grid.h"

namespace dravella::engine::testing {
namespace {

// Cells in memory that two threads may read at once.
class SharedGrid final : public MemoryGrid {
 public:
  using MemoryGrid::MemoryGrid;
  bool reads_concurrently() const override { return true; }
};

// Every kind of field, texts the code page cannot hold (counted as '?'),
// and widths decided late: the longest text and the number with the most
// decimals lie in the second half of the rows.
SharedGrid Mixed(uint32_t records, bool long_text) {
  std::vector<MemoryGrid::Row> rows{
      {Text("Id"), Text("Name"), Text("Amount"), Text("Day"), Text("Paid"), Text("Mixed"), Text("Note")}};
  for (uint32_t r = 1; r <= records; ++r) {
    MemoryGrid::Row row{Number(r), Text(r % 7 == 0 ? "Zoë Ørsted" : "Ann " + std::to_string(r % 100)),
                        Number(r % 1000 / 8.0), Date(36526 + r % 9000), Bool(r % 3 == 0)};
    switch (r % 4) {
      case 0: row.push_back(Number(r * 0.5)); break;
      case 1: row.push_back(Text("Жук")); break;  // not in 1252
      case 2: row.push_back(Error(0x07)); break;
      default: row.push_back(Empty()); break;
    }
    row.push_back(r == records - 3 ? Text(std::string(long_text ? 300 : 40, 'n')) : Text("n"));
    if (r == records - 10) row[2] = Number(0.0625);
    rows.push_back(std::move(row));
  }
  return SharedGrid(std::move(rows));
}

struct Written {
  std::string table, memo;
  int64_t replaced = 0;
};

Written Write(const CellGrid& grid, DbfLevel level, bool side_by_side, const ScratchFolder& folder) {
  DbfOptions options;
  options.level = level;
  options.header_date = DbfDate{2024, 3, 14};
  options.side_by_side = side_by_side;
  const std::string name = side_by_side ? "two" : "one";
  SaveStatistics statistics;
  const Status saved = WriteDbfTable(grid, folder / (name + ".dbf"), options, &statistics);
  EXPECT_TRUE(saved.ok()) << saved.description();
  Written written{ReadBytes(folder / (name + ".dbf")), "", statistics.replaced_characters};
  if (std::filesystem::exists(folder / (name + ".dbt"))) written.memo = ReadBytes(folder / (name + ".dbt"));
  return written;
}

TEST(SideBySide, TwoThreadsWriteWhatOneWrites) {
  struct Case {
    const char* name;
    uint32_t records;
    DbfLevel level;
    bool long_text;  // a memo column at dBASE III: written by one thread
  } const cases[] = {
      {"many chunks, the last one short", dbf::kSideBySideRecords + 12345, DbfLevel::kDbase3, false},
      {"exactly the threshold", dbf::kSideBySideRecords, DbfLevel::kDbase4, false},
      {"with a memo column", dbf::kSideBySideRecords + 1, DbfLevel::kDbase3, true},
      {"below the threshold", 1000, DbfLevel::kDbase3, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchFolder folder;
    const SharedGrid grid = Mixed(c.records, c.long_text);
    const Written one = Write(grid, c.level, false, folder);
    const Written two = Write(grid, c.level, true, folder);
    EXPECT_EQ(FirstDifference(one.table, two.table), "");
    EXPECT_EQ(one.memo, two.memo);
    EXPECT_EQ(one.replaced, two.replaced);
    EXPECT_EQ(one.replaced, 3 * int64_t{(c.records + 3) / 4});  // Жук in every fourth record
    EXPECT_EQ(ReadTable(folder / "two.dbf").record_count, c.records);
  }
}

}  // namespace
}  // namespace dravella::engine::testing
