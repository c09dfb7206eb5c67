#include "engine/xls/sheet_reader.h"

#include <algorithm>
#include <bit>
#include <optional>

#include "engine/xls/biff_record_ids.h"
#include "engine/xls/biff_string_reader.h"
#include "engine/xls/rk_number.h"

namespace dravella::engine::xls {
namespace {

// The "no number" marker of a formula's cached result: bytes 6 and 7 are
// 0xFFFF and byte 0 says what the result is instead.
constexpr uint8_t kResultText = 0;  // a STRING record follows
constexpr uint8_t kResultBoolean = 1;
constexpr uint8_t kResultError = 2;
constexpr uint8_t kResultEmptyText = 3;

// The least record space one stored cell can take: a MULRK holds a number
// in 6 bytes. A DIMENSIONS record claiming more cells than the rest of the
// stream can hold is not believed.
constexpr size_t kLeastBytesPerCell = 6;

// BIFF2 cells carry their XF index in 6 bits; 63 defers to the IXFE record.
constexpr uint8_t kBiff2XfFromIxfe = 0x3F;

struct CellAt {
  uint16_t row = 0;
  uint16_t column = 0;
  bool date_format = false;
};

class SheetReader {
 public:
  SheetReader(const ByteSource& stream, const WorkbookGlobals& globals)
      : reader_(stream),
        globals_(globals),
        version_(globals.version),
        own_formats_(false),
        formats_(version_ <= BiffVersion::kBiff4 ? &own_formats_ : &globals.formats),
        builder_(globals.shared_strings.texts) {}

  Result<std::unique_ptr<SheetData>> Read(const WorksheetEntry& entry);

 private:
  // True when the record was one of the common cell records, read quickly.
  bool ReadCommonCell(const BiffRecord& record);
  Status Dispatch(const BiffRecord& record);
  Status DispatchBiff2(const BiffRecord& record);
  Status DispatchBiff34(const BiffRecord& record);
  Status DispatchBiff58(const BiffRecord& record);
  Status DispatchBiff2Cells(const BiffRecord& record, bool* handled);

  // The row, column and format of a cell: BIFF3 and later store an XF index
  // (6 bytes), BIFF2 three attribute bytes (7 bytes).
  bool ReadCell(ByteCursor& c, CellAt* cell);
  bool ReadCell2(ByteCursor& c, CellAt* cell);
  bool IsDateXf(uint32_t xf) const { return formats_->IsDateXf(xf); }

  // One handler per record; the 2 suffix marks the BIFF2 layout.
  Status OnBlank(const BiffRecord& r, bool biff2);
  Status OnMulBlank(const BiffRecord& r);
  Status OnNumber(const BiffRecord& r, bool biff2);
  Status OnInteger2(const BiffRecord& r);
  Status OnRk(const BiffRecord& r);
  Status OnMulRk(const BiffRecord& r);
  Status OnBoolErr(const BiffRecord& r, bool biff2);
  Status OnLabel(const BiffRecord& r, bool biff2);
  Status OnRString(const BiffRecord& r);
  Status OnLabelSst(const BiffRecord& r);
  Status OnFormula(const BiffRecord& r, bool biff2);
  Status OnString(const BiffRecord& r, bool biff2);
  Status OnFormat(const BiffRecord& r);
  Status OnXf(const BiffRecord& r);
  Status OnIxfe(const BiffRecord& r);
  void OnDimensions(const BiffRecord& r);

  // Reads a cell's text (byte string or, in BIFF8, Unicode string with its
  // CONTINUE records) into the sheet's arena and stores the cell.
  void AddText(const CellAt& cell, const BiffRecord& r, size_t offset, size_t length_size);
  // A formula whose text result never came keeps an empty text.
  void SettlePendingFormula();

  Status TooShort(const BiffRecord& r, const char* name) const;

  BiffRecordReader reader_;
  const WorkbookGlobals& globals_;
  BiffVersion version_;
  FormatTable own_formats_;
  const FormatTable* formats_;
  SheetDataBuilder builder_;
  std::optional<CellAt> pending_formula_;
  uint16_t ixfe_ = 0;
  std::string sheet_name_;
};

Status SheetReader::TooShort(const BiffRecord& r, const char* name) const {
  return Status::Error(ErrorCode::kDamaged, "worksheet \"" + sheet_name_ + "\": the " + name +
                                                " record at offset " + std::to_string(r.offset) +
                                                " is too short (" + std::to_string(r.payload.size()) + " bytes)");
}

Result<std::unique_ptr<SheetData>> SheetReader::Read(const WorksheetEntry& entry) {
  sheet_name_ = entry.name;
  reader_.Seek(entry.bof_offset);
  BiffRecord bof;
  if (!reader_.Next(&bof) || !IsBofId(bof.id)) {
    if (!reader_.read_error().ok()) return reader_.read_error();
    return Status::Error(ErrorCode::kDamaged, "worksheet \"" + entry.name + "\" should begin at offset " +
                                                  std::to_string(entry.bof_offset) +
                                                  ", where there is no BOF record");
  }
  BiffRecord record;
  const bool biff58 = version_ == BiffVersion::kBiff5 || version_ == BiffVersion::kBiff8;
  while (reader_.Next(&record)) {
    if (biff58 && ReadCommonCell(record)) continue;
    if (record.id == record_id::kEof) {
      SettlePendingFormula();
      return builder_.Finish();
    }
    if (IsBofId(record.id)) {
      // An embedded chart: its records are not the worksheet's cells.
      if (!SkipSubstream(reader_)) break;
      continue;
    }
    if (Status s = Dispatch(record); !s.ok()) return s;
  }
  if (!reader_.read_error().ok()) return reader_.read_error();
  return Status::Error(ErrorCode::kTruncated, "worksheet \"" + entry.name + "\" ends at offset " +
                                                  std::to_string(reader_.offset()) +
                                                  (reader_.cut_short() ? " inside a record" : " without its EOF record"));
}

// The records that make up nearly every worksheet, read without the general
// dispatch: a whole record of the usual length, no formula waiting for its
// text. Anything else (a short record, an out-of-range string index) goes
// the general way, which reports it.
bool SheetReader::ReadCommonCell(const BiffRecord& r) {
  if (pending_formula_) return false;
  const uint8_t* p = r.payload.data();
  const size_t size = r.payload.size();
  switch (r.id) {
    case record_id::kRk:  // cell | RK: 4
      if (size < 10) return false;
      builder_.AddNumber(LoadU16(p), LoadU16(p + 2), DecodeRk(LoadU32(p + 6)), IsDateXf(LoadU16(p + 4)));
      return true;
    case record_id::kNumber: {  // cell | IEEE double: 8
      if (size < 14) return false;
      const uint64_t bits = LoadU32(p + 6) | static_cast<uint64_t>(LoadU32(p + 10)) << 32;
      builder_.AddNumber(LoadU16(p), LoadU16(p + 2), std::bit_cast<double>(bits), IsDateXf(LoadU16(p + 4)));
      return true;
    }
    case record_id::kLabelSst: {  // cell | string index: 4
      if (size < 10) return false;
      const uint32_t index = LoadU32(p + 6);
      const std::vector<TextRef>& strings = globals_.shared_strings.strings;
      if (index >= strings.size()) return false;
      builder_.AddSharedText(LoadU16(p), LoadU16(p + 2), strings[index]);
      return true;
    }
    case record_id::kBoolErr:  // cell | value: 1 | is error: 1
      if (size < 8) return false;
      if (p[7] != 0) {
        builder_.AddError(LoadU16(p), LoadU16(p + 2), p[6]);
      } else {
        builder_.AddBoolean(LoadU16(p), LoadU16(p + 2), p[6] != 0);
      }
      return true;
    default:
      return false;
  }
}

Status SheetReader::Dispatch(const BiffRecord& record) {
  if (record.id == record_id::kDimensions || record.id == record_id::kDimensions2) {
    OnDimensions(record);
    return Status::Ok();
  }
  switch (version_) {
    case BiffVersion::kBiff2: return DispatchBiff2(record);
    case BiffVersion::kBiff3:
    case BiffVersion::kBiff4: return DispatchBiff34(record);
    case BiffVersion::kBiff5:
    case BiffVersion::kBiff8: return DispatchBiff58(record);
  }
  return Status::Ok();
}

// The BIFF2 cell records; later versions' files sometimes hold them too.
Status SheetReader::DispatchBiff2Cells(const BiffRecord& r, bool* handled) {
  *handled = true;
  switch (r.id) {
    case record_id::kBlank2: return OnBlank(r, true);
    case record_id::kInteger2: return OnInteger2(r);
    case record_id::kNumber2: return OnNumber(r, true);
    case record_id::kLabel2: return OnLabel(r, true);
    case record_id::kBoolErr2: return OnBoolErr(r, true);
    default: *handled = false; return Status::Ok();
  }
}

Status SheetReader::DispatchBiff2(const BiffRecord& r) {
  bool handled = false;
  if (Status s = DispatchBiff2Cells(r, &handled); handled) return s;
  switch (r.id) {
    case record_id::kFormula2: return OnFormula(r, true);
    case record_id::kString2: return OnString(r, true);
    case record_id::kFormat2: return OnFormat(r);
    case record_id::kXf2: return OnXf(r);
    case record_id::kIxfe: return OnIxfe(r);
    default: return Status::Ok();
  }
}

Status SheetReader::DispatchBiff34(const BiffRecord& r) {
  bool handled = false;
  if (Status s = DispatchBiff2Cells(r, &handled); handled) return s;
  switch (r.id) {
    case record_id::kBlank: return OnBlank(r, false);
    case record_id::kNumber: return OnNumber(r, false);
    case record_id::kLabel: return OnLabel(r, false);
    case record_id::kBoolErr: return OnBoolErr(r, false);
    case record_id::kRk: return OnRk(r);
    case record_id::kFormula3:
    case record_id::kFormula4: return OnFormula(r, false);
    case record_id::kString: return OnString(r, false);
    case record_id::kFormat2:
    case record_id::kFormat: return OnFormat(r);
    case record_id::kXf3:
    case record_id::kXf4: return OnXf(r);
    default: return Status::Ok();
  }
}

Status SheetReader::DispatchBiff58(const BiffRecord& r) {
  bool handled = false;
  if (Status s = DispatchBiff2Cells(r, &handled); handled) return s;
  switch (r.id) {
    case record_id::kBlank: return OnBlank(r, false);
    case record_id::kMulBlank: return OnMulBlank(r);
    case record_id::kNumber: return OnNumber(r, false);
    case record_id::kRk: return OnRk(r);
    case record_id::kMulRk: return OnMulRk(r);
    case record_id::kBoolErr: return OnBoolErr(r, false);
    case record_id::kLabel: return OnLabel(r, false);
    case record_id::kRString: return OnRString(r);
    case record_id::kLabelSst: return OnLabelSst(r);
    case record_id::kFormula:
    case record_id::kFormula3:
    case record_id::kFormula4: return OnFormula(r, false);
    case record_id::kString: return OnString(r, false);
    default: return Status::Ok();
  }
}

//   row: 2 | column: 2 | XF index: 2
bool SheetReader::ReadCell(ByteCursor& c, CellAt* cell) {
  SettlePendingFormula();
  cell->row = c.U16();
  cell->column = c.U16();
  const uint16_t xf = c.U16();
  cell->date_format = c.ok() && IsDateXf(xf);
  return c.ok();
}

//   row: 2 | column: 2 | attributes: 3 (XF index in bits 0-5 of the first,
//   number format in bits 0-5 of the second when the file has no XF records)
bool SheetReader::ReadCell2(ByteCursor& c, CellAt* cell) {
  SettlePendingFormula();
  cell->row = c.U16();
  cell->column = c.U16();
  const uint8_t xf_bits = c.U8() & 0x3F;
  const uint8_t format_bits = c.U8() & 0x3F;
  c.U8();
  if (!c.ok()) return false;
  if (formats_->has_xfs()) {
    cell->date_format = IsDateXf(xf_bits == kBiff2XfFromIxfe ? ixfe_ : xf_bits);
  } else {
    cell->date_format = formats_->IsDateFormatId(format_bits);
  }
  return true;
}

Status SheetReader::OnBlank(const BiffRecord& r, bool biff2) {
  ByteCursor c(r.payload);
  CellAt cell;
  if (!(biff2 ? ReadCell2(c, &cell) : ReadCell(c, &cell))) return TooShort(r, "BLANK");
  builder_.AddEmpty(cell.row, cell.column);
  return Status::Ok();
}

//   MULBLANK   row: 2 | first column: 2 | XF index: 2 each | last column: 2
Status SheetReader::OnMulBlank(const BiffRecord& r) {
  SettlePendingFormula();
  ByteCursor c(r.payload);
  const uint16_t row = c.U16();
  const uint16_t first = c.U16();
  if (!c.ok() || r.payload.size() < 6) return TooShort(r, "MULBLANK");
  // The cell count follows from the length; the last-column field is not needed.
  const size_t count = (r.payload.size() - 6) / 2;
  for (size_t i = 0; i < count && first + i <= 0xFFFF; ++i) {
    builder_.AddEmpty(row, static_cast<uint16_t>(first + i));
  }
  return Status::Ok();
}

Status SheetReader::OnNumber(const BiffRecord& r, bool biff2) {
  ByteCursor c(r.payload);
  CellAt cell;
  const bool header = biff2 ? ReadCell2(c, &cell) : ReadCell(c, &cell);
  const double value = c.F64();
  if (!header || !c.ok()) return TooShort(r, "NUMBER");
  builder_.AddNumber(cell.row, cell.column, value, cell.date_format);
  return Status::Ok();
}

//   INTEGER (BIFF2)   cell (7 bytes) | unsigned value: 2
Status SheetReader::OnInteger2(const BiffRecord& r) {
  ByteCursor c(r.payload);
  CellAt cell;
  const bool header = ReadCell2(c, &cell);
  const uint16_t value = c.U16();
  if (!header || !c.ok()) return TooShort(r, "INTEGER");
  builder_.AddNumber(cell.row, cell.column, value, cell.date_format);
  return Status::Ok();
}

Status SheetReader::OnRk(const BiffRecord& r) {
  ByteCursor c(r.payload);
  CellAt cell;
  const bool header = ReadCell(c, &cell);
  const uint32_t rk = c.U32();
  if (!header || !c.ok()) return TooShort(r, "RK");
  builder_.AddNumber(cell.row, cell.column, DecodeRk(rk), cell.date_format);
  return Status::Ok();
}

//   MULRK   row: 2 | first column: 2 | (XF index: 2, RK: 4) each | last column: 2
Status SheetReader::OnMulRk(const BiffRecord& r) {
  SettlePendingFormula();
  ByteCursor c(r.payload);
  const uint16_t row = c.U16();
  const uint16_t first = c.U16();
  if (!c.ok() || r.payload.size() < 6) return TooShort(r, "MULRK");
  const size_t count = (r.payload.size() - 6) / 6;
  for (size_t i = 0; i < count && first + i <= 0xFFFF; ++i) {
    const uint16_t xf = c.U16();
    const uint32_t rk = c.U32();
    builder_.AddNumber(row, static_cast<uint16_t>(first + i), DecodeRk(rk), IsDateXf(xf));
  }
  return Status::Ok();
}

//   BOOLERR   cell | value: 1 | is error: 1
Status SheetReader::OnBoolErr(const BiffRecord& r, bool biff2) {
  ByteCursor c(r.payload);
  CellAt cell;
  const bool header = biff2 ? ReadCell2(c, &cell) : ReadCell(c, &cell);
  const uint8_t value = c.U8();
  const uint8_t is_error = c.U8();
  if (!header || !c.ok()) return TooShort(r, "BOOLERR");
  if (is_error) {
    builder_.AddError(cell.row, cell.column, value);
  } else {
    builder_.AddBoolean(cell.row, cell.column, value != 0);
  }
  return Status::Ok();
}

void SheetReader::AddText(const CellAt& cell, const BiffRecord& r, size_t offset, size_t length_size) {
  std::string* buffer = builder_.text_buffer();
  const size_t start = buffer->size();
  // A long text may go on in CONTINUE records.
  const std::vector<Bytes> continuations = reader_.TakeContinues();
  BiffStringReader strings(r.payload, offset, continuations);
  // A text cut short by the end of its records keeps what there is.
  if (version_ == BiffVersion::kBiff8) {
    strings.ReadUnicodeString(length_size, buffer);
  } else {
    strings.ReadByteString(length_size, globals_.code_page, buffer);
  }
  builder_.AddOwnText(cell.row, cell.column, start);
}

//   LABEL   cell | text (BIFF2: 1-byte length; later: 2-byte length)
Status SheetReader::OnLabel(const BiffRecord& r, bool biff2) {
  ByteCursor c(r.payload);
  CellAt cell;
  if (!(biff2 ? ReadCell2(c, &cell) : ReadCell(c, &cell))) return TooShort(r, "LABEL");
  AddText(cell, r, c.offset(), biff2 ? 1 : 2);
  return Status::Ok();
}

//   RSTRING   cell | text (2-byte length) | formatting runs
Status SheetReader::OnRString(const BiffRecord& r) {
  ByteCursor c(r.payload);
  CellAt cell;
  if (!ReadCell(c, &cell)) return TooShort(r, "RSTRING");
  AddText(cell, r, c.offset(), 2);
  return Status::Ok();
}

//   LABELSST   cell | index into the shared string table: 4
Status SheetReader::OnLabelSst(const BiffRecord& r) {
  ByteCursor c(r.payload);
  CellAt cell;
  const bool header = ReadCell(c, &cell);
  const uint32_t index = c.U32();
  if (!header || !c.ok()) return TooShort(r, "LABELSST");
  const std::vector<TextRef>& strings = globals_.shared_strings.strings;
  if (index >= strings.size()) {
    return Status::Error(ErrorCode::kDamaged, "worksheet \"" + sheet_name_ + "\": a cell at offset " +
                                                  std::to_string(r.offset) + " refers to shared string " +
                                                  std::to_string(index) + ", but the table holds " +
                                                  std::to_string(strings.size()));
  }
  builder_.AddSharedText(cell.row, cell.column, strings[index]);
  return Status::Ok();
}

//   FORMULA   cell | cached result: 8 | flags, formula tokens ...
// The result is a double, unless its bytes 6 and 7 are 0xFFFF.
Status SheetReader::OnFormula(const BiffRecord& r, bool biff2) {
  ByteCursor c(r.payload);
  CellAt cell;
  const bool header = biff2 ? ReadCell2(c, &cell) : ReadCell(c, &cell);
  const Bytes result = c.Span(8);
  if (!header || !c.ok()) return TooShort(r, "FORMULA");
  if (result[6] != 0xFF || result[7] != 0xFF) {
    double value = 0;
    ReadF64(result, 0, &value);
    builder_.AddNumber(cell.row, cell.column, value, cell.date_format);
    return Status::Ok();
  }
  switch (result[0]) {
    case kResultText:
      pending_formula_ = cell;  // the text is in the STRING record that follows
      break;
    case kResultBoolean:
      builder_.AddBoolean(cell.row, cell.column, result[2] != 0);
      break;
    case kResultError:
      builder_.AddError(cell.row, cell.column, result[2]);
      break;
    case kResultEmptyText:
    default:  // no other kind is known; the cell is there, its value is not
      builder_.AddEmpty(cell.row, cell.column);
      break;
  }
  return Status::Ok();
}

//   STRING   text of the formula before it (BIFF2: 1-byte length; later: 2-byte)
Status SheetReader::OnString(const BiffRecord& r, bool biff2) {
  if (!pending_formula_) {
    reader_.TakeContinues();
    return Status::Ok();  // a stray STRING record has no cell to fill
  }
  const CellAt cell = *pending_formula_;
  pending_formula_.reset();
  AddText(cell, r, 0, biff2 ? 1 : 2);
  return Status::Ok();
}

void SheetReader::SettlePendingFormula() {
  if (!pending_formula_) return;
  builder_.AddEmpty(pending_formula_->row, pending_formula_->column);
  pending_formula_.reset();
}

//   FORMAT (BIFF2, BIFF3)   text (1-byte length)
//   FORMAT (BIFF4)          2 unused bytes | text (1-byte length)
// A BIFF2-4 format's id is the record's position among the FORMAT records.
Status SheetReader::OnFormat(const BiffRecord& r) {
  std::string text;
  const size_t offset = r.id == record_id::kFormat ? 2 : 0;
  BiffStringReader(r.payload, offset).ReadByteString(1, globals_.code_page, &text);
  own_formats_.AddFormatInOrder(text);
  return Status::Ok();
}

//   XF (BIFF2)        font: 1 | unused: 1 | number format in bits 0-5: 1 | ...
//   XF (BIFF3, BIFF4) font: 1 | number format: 1 | ...
Status SheetReader::OnXf(const BiffRecord& r) {
  uint8_t format = 0;
  if (r.id == record_id::kXf2) {
    if (!ReadU8(r.payload, 2, &format)) return TooShort(r, "XF");
    format &= 0x3F;
  } else if (!ReadU8(r.payload, 1, &format)) {
    return TooShort(r, "XF");
  }
  own_formats_.AddXf(format);
  return Status::Ok();
}

//   IXFE (BIFF2)   XF index: 2, for the cells whose own index says 63
Status SheetReader::OnIxfe(const BiffRecord& r) {
  if (!ReadU16(r.payload, 0, &ixfe_)) return TooShort(r, "IXFE");
  return Status::Ok();
}

//   DIMENSIONS (BIFF8)      first row: 4 | last row + 1: 4 | first column: 2 | last column + 1: 2 | 2
//   DIMENSIONS (BIFF2-7)    first row: 2 | last row + 1: 2 | first column: 2 | last column + 1: 2 [| 2]
// Only sizes the cell store: the used range comes from the cells themselves,
// as writers often leave this record wrong.
void SheetReader::OnDimensions(const BiffRecord& r) {
  ByteCursor c(r.payload);
  uint64_t first_row = 0, end_row = 0;
  if (version_ == BiffVersion::kBiff8 && r.payload.size() >= 14) {
    first_row = c.U32();
    end_row = c.U32();
  } else {
    first_row = c.U16();
    end_row = c.U16();
  }
  const uint64_t first_column = c.U16();
  const uint64_t end_column = c.U16();
  if (!c.ok() || end_row <= first_row || end_column <= first_column) return;
  const uint64_t claimed = (end_row - first_row) * (end_column - first_column);
  const uint64_t room = (reader_.stream_size() - reader_.offset()) / kLeastBytesPerCell;
  builder_.Reserve(static_cast<size_t>(std::min(claimed, room)));
}

}  // namespace

Result<std::unique_ptr<SheetData>> ReadWorksheet(const ByteSource& stream, const WorksheetEntry& entry,
                                                 const WorkbookGlobals& globals) {
  return SheetReader(stream, globals).Read(entry);
}

}  // namespace dravella::engine::xls
