// The workbook-wide records, read when a workbook is opened: the worksheet
// list, shared strings, number formats and XF records, date system, code page
// and encryption. No cell record is read here.
//
// A BIFF5-8 stream holds a globals substream (BOF type 0x0005) listing the
// sheets in BOUNDSHEET records, each pointing at the sheet's own BOF. A BIFF4
// workbook (BOF type 0x0100) embeds each sheet right after a SHEETHDR record.
// A BIFF2-4 worksheet file is one worksheet substream and nothing else.
#pragma once

#include <string>
#include <vector>

#include "engine/cell.h"
#include "engine/status.h"
#include "engine/xls/biff_version.h"
#include "engine/xls/code_page.h"
#include "engine/xls/number_format.h"
#include "engine/xls/shared_strings.h"

namespace dravella::engine::xls {

struct WorksheetEntry {
  std::string name;   // UTF-8
  size_t bof_offset;  // of the worksheet's BOF record within the stream
};

struct WorkbookGlobals {
  BiffVersion version = BiffVersion::kBiff8;
  std::vector<WorksheetEntry> worksheets;  // worksheets only, in order, hidden ones too
  DateSystem date_system = DateSystem::k1900;
  CodePage code_page;
  // BIFF5-8 only; a BIFF2-4 substream carries its own formats and XFs.
  FormatTable formats{true};
  // The SST record and its CONTINUE records, decoded into shared_strings by
  // DecodeSharedStrings() before the first worksheet is read, so that
  // listing the worksheets of a large workbook stays cheap.
  Bytes sst;
  std::vector<Bytes> sst_continuations;
  bool shared_strings_decoded = false;
  SharedStrings shared_strings;
};

// Reads the globals of a workbook stream (or the single substream of a
// BIFF2-4 worksheet file, which becomes one worksheet named single_sheet_name).
Result<WorkbookGlobals> ReadWorkbookGlobals(Bytes stream, const std::string& single_sheet_name);

// Fills globals.shared_strings from the SST records, once.
void DecodeSharedStrings(WorkbookGlobals& globals);

// Moves the reader past the substream whose BOF it has just read, nested
// substreams included. False when the stream ends first.
bool SkipSubstream(BiffRecordReader& reader);

}  // namespace dravella::engine::xls
