// What each dBASE level allows: fields, record length, records, types.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/dbf/dbf_options.h"

namespace dravella::engine::dbf {

struct LevelRules {
  std::string_view name;         // "dBASE IV", for messages
  uint32_t max_fields;
  uint32_t max_record_length;    // the deletion flag included
  uint64_t max_records;
  int max_numeric_width;         // the widest N field
  bool has_date_and_memo;        // D and M fields exist (not in dBASE II)
};

const LevelRules& RulesOf(DbfLevel level);

// The widest C field at every level.
inline constexpr int kMaxCharacterWidth = 254;

}  // namespace dravella::engine::dbf
