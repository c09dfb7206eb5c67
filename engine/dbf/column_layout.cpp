#include "engine/dbf/column_layout.h"

#include <algorithm>
#include <cmath>

#include "engine/dbf/calendar.h"
#include "engine/dbf/cell_text.h"
#include "engine/dbf/code_page.h"
#include "engine/dbf/level_rules.h"
#include "engine/dbf/memo_file.h"
#include "engine/dbf/number_text.h"

namespace dravella::engine::dbf {
namespace {

constexpr unsigned Bit(CellKind kind) { return 1u << static_cast<unsigned>(kind); }

// The longest text that fills a single memo block at both levels (dBASE IV
// frames a text with 8 bytes, dBASE III with 2).
constexpr size_t kOneBlockText = kMemoBlockSize - 8;

}  // namespace

void ColumnSurvey::Add(const CellValue& cell) {
  const CellKind kind = EffectiveKind(cell);
  if (kind == CellKind::kEmpty) return;
  kinds_ |= Bit(kind);
  if (kind == CellKind::kText) {
    if (IsAscii(cell.text)) {
      AddText(cell.text.size(), std::min<size_t>(cell.text.size(), kMaxCharacterWidth));
      return;
    }
    const EncodedSize* known = measured_.Find(cell.text);
    const EncodedSize size = known ? *known : MeasureEncoded(cell.text, encoder_, kMaxCharacterWidth);
    if (!known) measured_.Store(cell.text, size);
    AddText(size.whole, size.cut);
    return;
  }
  // Every other text is ASCII: as many bytes in any code page.
  CellTextScratch scratch;
  size_t length;
  if (kind == CellKind::kNumber && std::isfinite(cell.number)) {
    const Rounded15 number = RoundTo15Digits(cell.number);
    integer_length_ = std::max(integer_length_, number.IntegerLength());
    decimals_ = std::max(decimals_, number.Decimals());
    length = GeneralTextLength(number);
  } else if (kind == CellKind::kDate) {
    const CalendarValue date = SerialToCalendar(cell.number, system_);
    dates_fit_date_field_ &= date.FitsDateField();
    length = DateTextLength(date);
  } else {
    numbers_finite_ &= kind != CellKind::kNumber;
    length = CellText(cell, system_, scratch).size();
  }
  AddText(length, length);
}

void ColumnSurvey::Merge(const ColumnSurvey& other) {
  kinds_ |= other.kinds_;
  numbers_finite_ &= other.numbers_finite_;
  dates_fit_date_field_ &= other.dates_fit_date_field_;
  integer_length_ = std::max(integer_length_, other.integer_length_);
  decimals_ = std::max(decimals_, other.decimals_);
  longest_text_ = std::max(longest_text_, other.longest_text_);
  longest_cut_text_ = std::max(longest_cut_text_, other.longest_cut_text_);
  memo_blocks_iii_ += other.memo_blocks_iii_;
  memo_blocks_iv_ += other.memo_blocks_iv_;
}

void ColumnSurvey::AddText(size_t whole_bytes, size_t cut_bytes) {
  longest_text_ = std::max(longest_text_, whole_bytes);
  longest_cut_text_ = std::max(longest_cut_text_, cut_bytes);
  // Most texts fill one block at either level, framing included.
  if (whole_bytes <= kOneBlockText) {
    ++memo_blocks_iii_;
    ++memo_blocks_iv_;
    return;
  }
  memo_blocks_iii_ += MemoBlocksFor(DbfLevel::kDbase3, whole_bytes);
  memo_blocks_iv_ += MemoBlocksFor(DbfLevel::kDbase4, whole_bytes);
}

FieldLayout ColumnSurvey::Decide(DbfLevel level) const {
  const LevelRules& rules = RulesOf(level);
  FieldLayout field;
  const int numeric_width = integer_length_ + (decimals_ > 0 ? decimals_ + 1 : 0);
  if (kinds_ == 0) {
    field.type = FieldType::kCharacter, field.width = 1;
  } else if (kinds_ == Bit(CellKind::kBoolean)) {
    field.type = FieldType::kLogical, field.width = 1;
  } else if (kinds_ == Bit(CellKind::kDate) && dates_fit_date_field_) {
    field.width = kDateFieldWidth;
    if (rules.has_date_and_memo) {
      field.type = FieldType::kDate;
    } else {
      field.type = FieldType::kCharacter, field.dates_as_digits = true;
    }
  } else if (kinds_ == Bit(CellKind::kNumber) && numbers_finite_ &&
             numeric_width <= rules.max_numeric_width) {
    field.type = FieldType::kNumeric, field.width = numeric_width, field.decimals = decimals_;
  } else if (longest_text_ > static_cast<size_t>(kMaxCharacterWidth) && rules.has_date_and_memo) {
    field.type = FieldType::kMemo, field.width = kMemoFieldWidth;
  } else {
    field.type = FieldType::kCharacter;
    field.width = static_cast<int>(std::max<size_t>(1, longest_cut_text_));
  }
  return field;
}

}  // namespace dravella::engine::dbf
