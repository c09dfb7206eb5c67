#include "engine/dbf/record_formatter.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "engine/dbf/calendar.h"
#include "engine/dbf/cell_text.h"
#include "engine/dbf/code_page.h"
#include "engine/dbf/number_text.h"

namespace dravella::engine::dbf {
namespace {

constexpr char kBlank = ' ';

// The plan made every value fit; a grid that changed since then gets the
// field filled with '*', dBASE's mark of a value too wide, never an overrun.
void RightAligned(const char* text, size_t length, char* field, int width) {
  if (length > static_cast<size_t>(width)) {
    std::memset(field, '*', static_cast<size_t>(width));
    return;
  }
  std::memcpy(field + width - static_cast<int>(length), text, length);
}

}  // namespace

RecordFormatter::RecordFormatter(const TableLayout& layout, MemoWriter* memo)
    : layout_(layout), encoder_(static_cast<uint16_t>(layout.code_page)), memo_(memo) {
  uint32_t offset = 1;  // after the deletion flag
  row_.reserve(layout.fields.size());  // Format never allocates (it may run on a second thread)
  encoded_.resize(layout.fields.size());
  for (size_t c = 0; c < layout.fields.size(); ++c) {
    if (layout.fields[c].type == FieldType::kCharacter) encoded_[c].Prepare();
  }
  offsets_.reserve(layout.fields.size());
  for (const FieldLayout& field : layout.fields) {
    offsets_.push_back(offset);
    offset += static_cast<uint32_t>(field.width);
  }
}

void RecordFormatter::Format(const CellGrid& grid, uint32_t row, char* out) {
  std::memset(out, kBlank, layout_.record_length);  // the flag of a live record, and every empty cell
  const uint32_t columns = std::min<uint32_t>(grid.columns(), layout_.fields.size());
  row_.resize(columns);
  grid.RowAt(row, row_);
  for (uint32_t c = 0; c < columns; ++c) {
    const CellValue& cell = row_[c];
    if (EffectiveKind(cell) == CellKind::kEmpty) continue;
    const FieldLayout& field = layout_.fields[c];
    if (cell.kind == CellKind::kText && field.type == FieldType::kCharacter) {
      WriteText(cell.text, encoded_[c], field, out + offsets_[c]);
      continue;
    }
    FormatField(field, cell, out + offsets_[c]);
  }
}

void RecordFormatter::WriteText(std::string_view text, TextMemo<EncodedText>& memo, const FieldLayout& field,
                                char* out) {
  // ASCII is copied as it is checked; only the rest goes through the memo.
  const size_t width = static_cast<size_t>(field.width);
  if (CopyAscii(text, out, width)) return;
  if (const EncodedText* known = memo.Find(text)) {
    std::memcpy(out, known->bytes, known->size);
    replaced_characters_ += known->replaced;
    return;
  }
  size_t replaced = 0;
  const size_t size = EncodeInto(text, encoder_, out, width, &replaced);
  replaced_characters_ += replaced;
  // Kept when the field's bytes fit the memo (a field's width never changes).
  EncodedText encoded;
  if (size <= sizeof encoded.bytes && replaced <= UINT8_MAX) {
    encoded.size = static_cast<uint8_t>(size);
    encoded.replaced = static_cast<uint8_t>(replaced);
    std::memcpy(encoded.bytes, out, size);
    memo.Store(text, encoded);
  }
}

void RecordFormatter::FormatField(const FieldLayout& field, const CellValue& cell, char* out) {
  switch (field.type) {
    case FieldType::kNumeric: {
      // Written in place, right-aligned: its length is known beforehand.
      const Rounded15 number = RoundTo15Digits(cell.number);
      const int length = number.IntegerLength() + (field.decimals > 0 ? field.decimals + 1 : 0);
      if (length > field.width) {
        std::memset(out, '*', static_cast<size_t>(field.width));
      } else {
        WritePositional(number, field.decimals, out + field.width - length);
      }
      return;
    }
    case FieldType::kDate:
      WriteDateDigits(SerialToCalendar(cell.number, layout_.date_system), out);
      return;
    case FieldType::kLogical:
      *out = cell.number != 0 ? 'T' : 'F';
      return;
    case FieldType::kCharacter: {
      if (field.dates_as_digits) {
        WriteDateDigits(SerialToCalendar(cell.number, layout_.date_system), out);
        return;
      }
      CellTextScratch scratch;
      EncodeInto(CellText(cell, layout_.date_system, scratch), encoder_, out,
                 static_cast<size_t>(field.width), &replaced_characters_);
      return;
    }
    case FieldType::kMemo: {
      CellTextScratch scratch;
      memo_text_.clear();
      EncodeAppend(CellText(cell, layout_.date_system, scratch), layout_.code_page, memo_text_,
                   &replaced_characters_);
      const uint32_t block = memo_->Append(memo_text_);
      char text[12];
      const auto end = std::to_chars(text, text + sizeof text, block).ptr;
      RightAligned(text, static_cast<size_t>(end - text), out, field.width);
      return;
    }
  }
}

}  // namespace dravella::engine::dbf
