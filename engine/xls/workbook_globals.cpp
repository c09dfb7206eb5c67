#include "engine/xls/workbook_globals.h"

#include "engine/xls/biff_record_ids.h"
#include "engine/xls/biff_string_reader.h"

namespace dravella::engine::xls {
namespace {

constexpr uint8_t kBoundSheetWorksheet = 0x00;

Status Damaged(std::string what) { return Status::Error(ErrorCode::kDamaged, std::move(what)); }

Status TooShort(const BiffRecord& record, const char* name) {
  return Damaged(std::string("the ") + name + " record at offset " + std::to_string(record.offset) +
                 " is too short (" + std::to_string(record.payload.size()) + " bytes)");
}

// A name whose bytes are decoded once the code page is known: BIFF5 and
// BIFF4 workbooks may name their code page after the sheets.
struct PendingName {
  Bytes bytes;  // length byte and characters
  size_t bof_offset;
};

class GlobalsReader {
 public:
  GlobalsReader(Bytes stream, WorkbookGlobals* globals) : stream_(stream), reader_(stream), g_(globals) {}

  Status Read(const std::string& single_sheet_name);

 private:
  Status ReadWorkbookSubstream();
  Status ReadWorkbook4Substream();
  Status ReadSingleSheetSubstream(const std::string& name);
  Status ReadUntilEof(Status (GlobalsReader::*dispatch)(const BiffRecord&), const char* what);

  // One dispatch per layout family, settled by the first BOF.
  Status DispatchBiff58(const BiffRecord& record);
  Status DispatchWorkbook4(const BiffRecord& record);
  Status DispatchSingleSheet(const BiffRecord& record);

  // One handler per record.
  Status OnBoundSheet(const BiffRecord& record);
  Status OnSst(const BiffRecord& record);
  Status OnFormat(const BiffRecord& record);
  Status OnXf(const BiffRecord& record);
  Status OnDateMode(const BiffRecord& record);
  Status OnCodePage(const BiffRecord& record);
  Status OnFilePass(const BiffRecord& record);
  Status OnSheetHeader(const BiffRecord& record);

  void DecodePendingNames();

  Bytes stream_;
  BiffRecordReader reader_;
  WorkbookGlobals* g_;
  std::vector<PendingName> pending_names_;
};

Status GlobalsReader::Read(const std::string& single_sheet_name) {
  BiffRecord first;
  if (!reader_.Next(&first)) {
    if (stream_.empty()) return Damaged("the workbook stream is empty");
    return Status::Error(ErrorCode::kTruncated, "the workbook stream ends inside its first record");
  }
  if (!IsBofId(first.id)) return Damaged("the workbook stream does not begin with a BOF record");
  Result<Bof> bof = ReadBof(first);
  if (!bof.ok()) return bof.status();
  g_->version = bof->version;
  switch (bof->type) {
    case substream::kGlobals:
      return ReadWorkbookSubstream();
    case substream::kWorkbook4:
      if (g_->version > BiffVersion::kBiff4) {
        return Status::Error(ErrorCode::kNotAWorkbook, "it is a workspace file, which holds no worksheets");
      }
      return ReadWorkbook4Substream();
    case substream::kWorksheet:
      return ReadSingleSheetSubstream(single_sheet_name);
    case substream::kChart:
    case substream::kMacroSheet:
      // A chart or macro sheet file on its own: a workbook without worksheets.
      return ReadSingleSheetSubstream({});
    default:
      return Damaged("the first BOF record opens a substream of unknown type " + std::to_string(bof->type));
  }
}

Status GlobalsReader::ReadUntilEof(Status (GlobalsReader::*dispatch)(const BiffRecord&), const char* what) {
  BiffRecord record;
  while (reader_.Next(&record)) {
    if (record.id == record_id::kEof) return Status::Ok();
    if (Status s = (this->*dispatch)(record); !s.ok()) return s;
  }
  return Status::Error(ErrorCode::kTruncated,
                       std::string("the ") + what + " end at offset " + std::to_string(reader_.offset()) +
                           (reader_.cut_short() ? " inside a record" : " without their EOF record"));
}

Status GlobalsReader::ReadWorkbookSubstream() {
  g_->formats = FormatTable(true);
  if (Status s = ReadUntilEof(&GlobalsReader::DispatchBiff58, "workbook globals"); !s.ok()) return s;
  DecodePendingNames();
  return Status::Ok();
}

Status GlobalsReader::ReadWorkbook4Substream() {
  if (Status s = ReadUntilEof(&GlobalsReader::DispatchWorkbook4, "workbook globals"); !s.ok()) return s;
  DecodePendingNames();
  return Status::Ok();
}

Status GlobalsReader::ReadSingleSheetSubstream(const std::string& name) {
  if (Status s = ReadUntilEof(&GlobalsReader::DispatchSingleSheet, "worksheet's records"); !s.ok()) return s;
  if (!name.empty()) g_->worksheets.push_back({name, 0});
  return Status::Ok();
}

Status GlobalsReader::DispatchBiff58(const BiffRecord& record) {
  switch (record.id) {
    case record_id::kBoundSheet: return OnBoundSheet(record);
    case record_id::kSst: return g_->version == BiffVersion::kBiff8 ? OnSst(record) : Status::Ok();
    case record_id::kFormat: return OnFormat(record);
    case record_id::kXf: return OnXf(record);
    case record_id::kDateMode: return OnDateMode(record);
    case record_id::kCodePage: return OnCodePage(record);
    case record_id::kFilePass: return OnFilePass(record);
    default: return Status::Ok();
  }
}

Status GlobalsReader::DispatchWorkbook4(const BiffRecord& record) {
  switch (record.id) {
    case record_id::kSheetHeader: return OnSheetHeader(record);
    case record_id::kDateMode: return OnDateMode(record);
    case record_id::kCodePage: return OnCodePage(record);
    case record_id::kFilePass: return OnFilePass(record);
    default: return Status::Ok();
  }
}

Status GlobalsReader::DispatchSingleSheet(const BiffRecord& record) {
  if (IsBofId(record.id)) {
    // An embedded substream (a chart) is not part of the sheet's globals.
    if (!SkipSubstream(reader_)) return Status::Error(ErrorCode::kTruncated, "an embedded substream has no end");
    return Status::Ok();
  }
  switch (record.id) {
    case record_id::kDateMode: return OnDateMode(record);
    case record_id::kCodePage: return OnCodePage(record);
    case record_id::kFilePass: return OnFilePass(record);
    default: return Status::Ok();
  }
}

//   BOUNDSHEET   BOF offset: 4 | visibility: 1 | type: 1 | name (1-byte length)
Status GlobalsReader::OnBoundSheet(const BiffRecord& record) {
  ByteCursor c(record.payload);
  const uint32_t bof_offset = c.U32();
  c.U8();  // visibility: hidden and very hidden worksheets are worksheets too
  const uint8_t type = c.U8();
  if (!c.ok()) return TooShort(record, "BOUNDSHEET");
  if (type != kBoundSheetWorksheet) return Status::Ok();  // chart, macro sheet, module
  if (g_->version == BiffVersion::kBiff8) {
    std::string name;
    BiffStringReader(record.payload, c.offset()).ReadUnicodeString(1, &name);
    g_->worksheets.push_back({std::move(name), bof_offset});
  } else {
    pending_names_.push_back({record.payload.subspan(c.offset()), bof_offset});
  }
  return Status::Ok();
}

Status GlobalsReader::OnSst(const BiffRecord& record) {
  g_->sst = record.payload;
  g_->sst_continuations = reader_.TakeContinues();
  return Status::Ok();
}

//   FORMAT   id: 2 | text (BIFF8: 2-byte length, Unicode; BIFF5: 1-byte length)
Status GlobalsReader::OnFormat(const BiffRecord& record) {
  uint16_t id = 0;
  if (!ReadU16(record.payload, 0, &id)) return TooShort(record, "FORMAT");
  std::string text;
  BiffStringReader strings(record.payload, 2);
  if (g_->version == BiffVersion::kBiff8) {
    strings.ReadUnicodeString(2, &text);
  } else {
    // The date rule only looks at ASCII letters and quotes, which every
    // code page keeps, so the format may be decoded before CODEPAGE is seen.
    strings.ReadByteString(1, g_->code_page, &text);
  }
  g_->formats.AddFormat(id, text);
  return Status::Ok();
}

//   XF   font: 2 | format id: 2 | ...
Status GlobalsReader::OnXf(const BiffRecord& record) {
  uint16_t format_id = 0;
  if (!ReadU16(record.payload, 2, &format_id)) return TooShort(record, "XF");
  g_->formats.AddXf(format_id);
  return Status::Ok();
}

Status GlobalsReader::OnDateMode(const BiffRecord& record) {
  uint16_t mode = 0;
  if (!ReadU16(record.payload, 0, &mode)) return TooShort(record, "DATEMODE");
  g_->date_system = mode == 1 ? DateSystem::k1904 : DateSystem::k1900;
  return Status::Ok();
}

Status GlobalsReader::OnCodePage(const BiffRecord& record) {
  uint16_t value = 0;
  if (!ReadU16(record.payload, 0, &value)) return TooShort(record, "CODEPAGE");
  g_->code_page = CodePage::FromRecordValue(value);
  return Status::Ok();
}

Status GlobalsReader::OnFilePass(const BiffRecord&) {
  return Status::Error(ErrorCode::kEncrypted,
                       "it is protected with a password; it can be read once it is saved without the "
                       "password in a spreadsheet program");
}

//   SHEETHDR   substream length: 4 | name (1-byte length); the sheet's BOF follows
Status GlobalsReader::OnSheetHeader(const BiffRecord& record) {
  if (record.payload.size() < 4) return TooShort(record, "SHEETHDR");
  const size_t bof_offset = reader_.offset();
  BiffRecord bof_record;
  if (!reader_.Next(&bof_record)) {
    return Status::Error(ErrorCode::kTruncated, "the stream ends after the header of a sheet");
  }
  if (!IsBofId(bof_record.id)) {
    return Damaged("the sheet header at offset " + std::to_string(record.offset) + " is not followed by a BOF record");
  }
  Result<Bof> bof = ReadBof(bof_record);
  if (!bof.ok()) return bof.status();
  if (bof->type == substream::kWorksheet) pending_names_.push_back({record.payload.subspan(4), bof_offset});
  // The sheet's cells are read when the sheet is asked for; here only its
  // end is found, by its record headers.
  if (!SkipSubstream(reader_)) {
    return Status::Error(ErrorCode::kTruncated, "the sheet at offset " + std::to_string(bof_offset) + " has no end");
  }
  return Status::Ok();
}

void GlobalsReader::DecodePendingNames() {
  for (const PendingName& pending : pending_names_) {
    std::string name;
    BiffStringReader(pending.bytes, 0).ReadByteString(1, g_->code_page, &name);
    g_->worksheets.push_back({std::move(name), pending.bof_offset});
  }
  pending_names_.clear();
}

}  // namespace

void DecodeSharedStrings(WorkbookGlobals& globals) {
  if (globals.shared_strings_decoded) return;
  if (!globals.sst.empty()) globals.shared_strings = ReadSharedStrings(globals.sst, globals.sst_continuations);
  globals.sst = {};
  globals.sst_continuations = {};
  globals.shared_strings_decoded = true;
}

bool SkipSubstream(BiffRecordReader& reader) {
  size_t depth = 1;
  BiffRecord record;
  while (reader.Next(&record)) {
    if (IsBofId(record.id)) {
      ++depth;
    } else if (record.id == record_id::kEof && --depth == 0) {
      return true;
    }
  }
  return false;
}

Result<WorkbookGlobals> ReadWorkbookGlobals(Bytes stream, const std::string& single_sheet_name) {
  WorkbookGlobals globals;
  GlobalsReader reader(stream, &globals);
  if (Status s = reader.Read(single_sheet_name); !s.ok()) return s;
  return globals;
}

}  // namespace dravella::engine::xls
