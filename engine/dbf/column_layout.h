// The field a column becomes: type, width and decimals, decided from the
// kinds of the column's cells in the records (the header row does not count).
//
//   no cell             C, width 1
//   only booleans       L, width 1
//   only whole days     D, width 8 (dBASE II: C, width 8, YYYYMMDD)
//   only numbers        N, as wide as the widest value, when it fits the level
//   anything else       C, as wide as the longest text (at most 254); M when a
//                       text is longer (dBASE III and IV; dBASE II cuts it)
#pragma once

#include <cstdint>
#include <string>

#include "engine/cell.h"
#include "engine/dbf/code_page.h"
#include "engine/dbf/dbf_options.h"
#include "engine/dbf/text_memo.h"
#include "engine/text_codec.h"

namespace dravella::engine::dbf {

enum class FieldType : char {
  kCharacter = 'C',
  kNumeric = 'N',
  kDate = 'D',
  kLogical = 'L',
  kMemo = 'M',
};

struct FieldLayout {
  std::string name;
  FieldType type = FieldType::kCharacter;
  int width = 1;
  int decimals = 0;
  bool dates_as_digits = false;  // a dBASE II date column: C holding YYYYMMDD
};

inline constexpr int kMemoFieldWidth = 10;
inline constexpr int kDateFieldWidth = 8;

// What the records of one column hold, gathered one cell at a time.
class ColumnSurvey {
 public:
  ColumnSurvey(DateSystem system, CodePage page)
      : system_(system), encoder_(static_cast<uint16_t>(page)) {}

  void Add(const CellValue& cell);
  // Takes in what another survey of the same column saw (other rows).
  void Merge(const ColumnSurvey& other);
  // Makes the memo of texts now, so that Add never allocates (it may run on
  // a second thread).
  void PrepareMemo() { measured_.Prepare(); }
  FieldLayout Decide(DbfLevel level) const;  // the name is left empty

  // 512-byte blocks the column's texts fill when it is a memo column.
  uint64_t MemoBlocks(DbfLevel level) const {
    return level == DbfLevel::kDbase4 ? memo_blocks_iv_ : memo_blocks_iii_;
  }

 private:
  void AddText(size_t whole_bytes, size_t cut_bytes);

  DateSystem system_;
  CharacterEncoder encoder_;  // of the table's code page
  TextMemo<EncodedSize> measured_;  // texts that are not ASCII, measured (a copy starts empty)
  unsigned kinds_ = 0;             // a bit per CellKind seen
  bool numbers_finite_ = true;
  bool dates_fit_date_field_ = true;
  int integer_length_ = 1;         // N form: the longest part before the point
  int decimals_ = 0;               // N form: the most digits after the point
  size_t longest_text_ = 0;        // encoded bytes of the longest C text
  size_t longest_cut_text_ = 0;    // the same, each cut to 254 bytes
  uint64_t memo_blocks_iii_ = 0;
  uint64_t memo_blocks_iv_ = 0;
};

}  // namespace dravella::engine::dbf
