// The BIFF version of a stream, settled once at its first BOF record, and the
// kinds of substream a BOF record opens.
#pragma once

#include <cstdint>

#include "engine/status.h"
#include "engine/xls/biff_record_reader.h"

namespace dravella::engine::xls {

// BIFF7 (Excel 95) shares the BIFF5 layouts, so it is read as kBiff5.
enum class BiffVersion : uint8_t { kBiff2 = 2, kBiff3 = 3, kBiff4 = 4, kBiff5 = 5, kBiff8 = 8 };

namespace substream {
constexpr uint16_t kGlobals = 0x0005;
constexpr uint16_t kWorksheet = 0x0010;  // also dialog sheets
constexpr uint16_t kChart = 0x0020;
constexpr uint16_t kMacroSheet = 0x0040;
constexpr uint16_t kWorkbook4 = 0x0100;  // the globals of a BIFF4 workbook
}  // namespace substream

struct Bof {
  BiffVersion version = BiffVersion::kBiff8;
  uint16_t type = 0;  // one of substream::
};

bool IsBofId(uint16_t id);

// Reads a BOF record; kDamaged when it is too short, kUnsupportedVersion when
// its version is none of BIFF2 to BIFF8.
Result<Bof> ReadBof(const BiffRecord& record);

// "BIFF8" and so on, for messages.
const char* BiffVersionName(BiffVersion version);

}  // namespace dravella::engine::xls
