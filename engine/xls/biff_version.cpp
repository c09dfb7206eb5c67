#include "engine/xls/biff_version.h"

#include <cstdio>
#include <string>

#include "engine/xls/biff_record_ids.h"

namespace dravella::engine::xls {

bool IsBofId(uint16_t id) {
  return id == record_id::kBof2 || id == record_id::kBof3 || id == record_id::kBof4 || id == record_id::kBof;
}

Result<Bof> ReadBof(const BiffRecord& record) {
  uint16_t version = 0;
  Bof bof;
  if (!ReadU16(record.payload, 0, &version) || !ReadU16(record.payload, 2, &bof.type)) {
    return Status::Error(ErrorCode::kDamaged, "the BOF record at offset " + std::to_string(record.offset) +
                                                  " is too short (" + std::to_string(record.payload.size()) +
                                                  " bytes)");
  }
  switch (record.id) {
    case record_id::kBof2:
      bof.version = BiffVersion::kBiff2;
      return bof;
    case record_id::kBof3:
      bof.version = BiffVersion::kBiff3;
      return bof;
    case record_id::kBof4:
      bof.version = BiffVersion::kBiff4;
      return bof;
    default:
      break;
  }
  // The BIFF5-style BOF names its version; some other programs wrote it
  // with the numbers of older versions.
  switch (version) {
    case 0x0600:
      bof.version = BiffVersion::kBiff8;
      return bof;
    case 0x0500:
      bof.version = BiffVersion::kBiff5;
      return bof;
    case 0x0000:
    case 0x0007:
    case 0x0200:
      bof.version = BiffVersion::kBiff2;
      return bof;
    case 0x0300:
      bof.version = BiffVersion::kBiff3;
      return bof;
    case 0x0400:
      bof.version = BiffVersion::kBiff4;
      return bof;
    default: {
      char hex[8];
      std::snprintf(hex, sizeof hex, "0x%04X", version);
      return Status::Error(ErrorCode::kUnsupportedVersion,
                           std::string("its BOF record names BIFF version ") + hex +
                               ", which is none of BIFF2 to BIFF8");
    }
  }
}

const char* BiffVersionName(BiffVersion version) {
  switch (version) {
    case BiffVersion::kBiff2: return "BIFF2";
    case BiffVersion::kBiff3: return "BIFF3";
    case BiffVersion::kBiff4: return "BIFF4";
    case BiffVersion::kBiff5: return "BIFF5";
    case BiffVersion::kBiff8: return "BIFF8";
  }
  return "BIFF";
}

}  // namespace dravella::engine::xls
