// One record of the table from one row of the grid: the deletion flag, then
// every field in its form (N right-aligned, C left-aligned, blanks for an
// empty cell, memo texts handed to the memo file).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/cell.h"
#include "engine/dbf/memo_file.h"
#include "engine/dbf/table_layout.h"
#include "engine/dbf/text_memo.h"
#include "engine/text_codec.h"

namespace dravella::engine::dbf {

class RecordFormatter {
 public:
  // memo may be null when the layout has no memo field.
  RecordFormatter(const TableLayout& layout, MemoWriter* memo);

  // Writes layout.record_length bytes at out.
  void Format(const CellGrid& grid, uint32_t row, char* out);

  // Characters written as '?' so far because the code page cannot hold them.
  int64_t replaced_characters() const { return static_cast<int64_t>(replaced_characters_); }

 private:
  void FormatField(const FieldLayout& field, const CellValue& cell, char* out);
  struct EncodedText {
    uint8_t size = 0;
    uint8_t replaced = 0;
    char bytes[TextMemo<int>::kLongestText * 2];  // a character may take two bytes
  };
  // A text into a C field: ASCII as it is, anything else through the
  // field's memo of texts already encoded.
  void WriteText(std::string_view text, TextMemo<EncodedText>& memo, const FieldLayout& field, char* out);

  const TableLayout& layout_;
  CharacterEncoder encoder_;  // of the table's code page
  MemoWriter* memo_;
  std::vector<uint32_t> offsets_;  // of each field in the record
  std::string memo_text_;          // the current memo text, reused
  size_t replaced_characters_ = 0;
  std::vector<CellValue> row_;     // the current row's cells, reused
  // Per field, texts that are not ASCII as the field holds them.
  std::vector<TextMemo<EncodedText>> encoded_;
};

}  // namespace dravella::engine::dbf
