// What a workbook under construction and its sheets share: the version, the
// code page, the formats and the shared strings. Internal to the builder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/compound_file_builder.h"
#include "tests/support/shared_string_table.h"
#include "tests/support/workbook_builder.h"

namespace dravella::testing {

struct XfEntry {
  uint16_t format_id = 0;
  bool style = false;
};

struct WorkbookSettings {
  BiffVersion version = BiffVersion::kBiff8;
  size_t max_payload = kBiff8MaxRecordPayload;
  std::optional<uint16_t> codepage;
  bool date1904 = false;
  bool encrypted = false;

  std::vector<std::pair<uint16_t, std::string>> formats;  // FORMAT records: id, text
  uint16_t next_format_id = 0;
  std::vector<XfEntry> xfs;
  uint16_t default_xf = 0;
  std::optional<uint16_t> date_xf;

  SharedStringTable sst;
  std::vector<std::pair<uint16_t, std::vector<uint8_t>>> globals_records;
  size_t pad_stream_to = 0;

  CfbVersion cfb_version = CfbVersion::k3;
  std::string stream_name;
  std::vector<std::pair<std::string, std::vector<uint8_t>>> extra_streams;
  bool plain_stream = false;

  bool AtLeast(BiffVersion first) const { return version >= first; }
  bool IsBiff8() const { return version == BiffVersion::kBiff8; }
  // The code page of byte strings (BIFF2-BIFF5): the CODEPAGE record's,
  // Windows 1252 when it is omitted.
  uint16_t ByteStringCodepage() const { return codepage.value_or(1252); }
  uint16_t FormatOfXf(uint16_t xf) const { return xf < xfs.size() ? xfs[xf].format_id : 0; }
};

}  // namespace dravella::testing
