// Every limit of every level: the largest table that fits is written, one
// step beyond is refused before anything is written, with a description
// that names the limit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/dbf/dbf_writer.h"
#include "tests/dbf/dbf_test_files.h"
#include "tests/dbf/generated_grid.h"

namespace dravella::engine::testing {
namespace {

DbfOptions Options(DbfLevel level) {
  DbfOptions options;
  options.level = level;
  options.header_date = DbfDate{2024, 1, 2};
  return options;
}

struct LimitCase {
  const char* what;
  DbfLevel level;
  uint32_t rows;
  uint32_t columns;
  size_t text_length;  // of every cell below the header
  ErrorCode error;     // kNone: fits
  const char* description;
};

TEST(Limits, EachLevelsLimitsAndTheirDescriptions) {
  const LimitCase cases[] = {
      {"255 fields", DbfLevel::kDbase4, 2, 255, 1, ErrorCode::kNone, ""},
      {"256 fields", DbfLevel::kDbase4, 2, 256, 1, ErrorCode::kTooManyFields,
       "The worksheet has 256 columns; a dBASE IV table holds at most 255 fields."},
      {"300 fields", DbfLevel::kDbase4, 2, 300, 1, ErrorCode::kTooManyFields,
       "The worksheet has 300 columns; a dBASE IV table holds at most 255 fields."},
      {"128 fields", DbfLevel::kDbase3, 2, 128, 1, ErrorCode::kNone, ""},
      {"129 fields", DbfLevel::kDbase3, 2, 129, 1, ErrorCode::kTooManyFields,
       "The worksheet has 129 columns; a dBASE III table holds at most 128 fields."},
      {"32 fields", DbfLevel::kDbase2, 2, 32, 1, ErrorCode::kNone, ""},
      {"33 fields", DbfLevel::kDbase2, 2, 33, 1, ErrorCode::kTooManyFields,
       "The worksheet has 33 columns; a dBASE II table holds at most 32 fields."},
      {"65535 records", DbfLevel::kDbase2, 65536, 1, 1, ErrorCode::kNone, ""},
      {"65536 records", DbfLevel::kDbase2, 65537, 1, 1, ErrorCode::kTooManyRecords,
       "The worksheet has 65536 records; a dBASE II table holds at most 65535 records."},
      {"65536 records in dBASE III", DbfLevel::kDbase3, 65537, 1, 1, ErrorCode::kNone, ""},
      // 1 + 27 x 37 = 1000 bytes; 1 + 4 x 250 = 1001.
      {"1000 bytes", DbfLevel::kDbase2, 2, 27, 37, ErrorCode::kNone, ""},
      {"1001 bytes", DbfLevel::kDbase2, 2, 4, 250, ErrorCode::kRecordTooLong,
       "The records would be 1001 bytes long (deletion flag included); a dBASE II table "
       "allows at most 1000 bytes per record."},
      // 1 + 43 x 93 = 4000 bytes; 1 + 16 x 250 = 4001.
      {"4000 bytes", DbfLevel::kDbase3, 2, 43, 93, ErrorCode::kNone, ""},
      {"4001 bytes", DbfLevel::kDbase3, 2, 16, 250, ErrorCode::kRecordTooLong,
       "The records would be 4001 bytes long (deletion flag included); a dBASE III table "
       "allows at most 4000 bytes per record."},
      {"4001 bytes in dBASE IV", DbfLevel::kDbase4, 2, 16, 250, ErrorCode::kRecordTooLong,
       "The records would be 4001 bytes long (deletion flag included); a dBASE IV table "
       "allows at most 4000 bytes per record."},
  };
  for (const LimitCase& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string text(c.text_length, 'x');
    ScratchFolder folder;
    const Status status =
        WriteDbfTable(TextGrid(c.rows, c.columns, text), folder / "t.dbf", Options(c.level));
    EXPECT_EQ(status.code(), c.error);
    EXPECT_EQ(status.description(), c.description);
    if (c.error == ErrorCode::kNone) {
      const ParsedTable table = ReadTable(folder / "t.dbf");
      EXPECT_EQ(table.problem, "");
      EXPECT_EQ(table.record_count, c.rows - 1);
      EXPECT_EQ(table.fields.size(), c.columns);
    } else {
      EXPECT_EQ(folder.Files(), std::vector<std::string>{});
    }
  }
}

TEST(Limits, RecordLengthCountsMemoAndDateFieldsAtTheirWidths) {
  // 13 columns of 300-byte texts: as memo pointers the record is 131 bytes.
  const std::string long_text(300, 'x');
  ScratchFolder folder;
  const Status status =
      WriteDbfTable(TextGrid(3, 13, long_text), folder / "t.dbf", Options(DbfLevel::kDbase3));
  ASSERT_TRUE(status.ok()) << status.description();
  EXPECT_EQ(ReadTable(folder / "t.dbf").record_length, 1u + 13 * 10);
  // dBASE II has no memo: the same texts are cut to 254 and 13 x 254 is too long.
  const Status dbase2 =
      WriteDbfTable(TextGrid(3, 13, long_text), folder / "u.dbf", Options(DbfLevel::kDbase2));
  EXPECT_EQ(dbase2.code(), ErrorCode::kRecordTooLong);
  EXPECT_EQ(dbase2.description(),
            "The records would be 3303 bytes long (deletion flag included); a dBASE II table "
            "allows at most 1000 bytes per record.");
}

}  // namespace
}  // namespace dravella::engine::testing
