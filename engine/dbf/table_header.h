// The header of a .dbf file, per level.
//
//   dBASE III and IV (32 bytes, then 32 per field, then 0x0D)
//     [0]      version: 0x03; with a memo 0x83 (III) or 0x8B (IV)
//     [1..3]   date of the save: year - 1900, month, day
//     [4..7]   record count (LE)     [8..9]   header length (LE)
//     [10..11] record length (LE)    [29]     language driver (code page)
//     field:   [0..10] name, 0x00-padded  [11] type  [16] width  [17] decimals
//
//   dBASE II (521 bytes)
//     [0]      0x02                  [1..2]   record count (LE)
//     [3..5]   date: month, day, year % 100
//     [6..7]   record length (LE)
//     [8..519] 32 slots of 16 bytes: [0..10] name, [11] type, [12] width,
//              [13..14] the field's offset in the record (LE), [15] decimals;
//              the first unused slot starts with 0x0D
//     [520]    0x0D when all 32 slots are used, else 0x00
#pragma once

#include <cstdint>
#include <vector>

#include "engine/dbf/dbf_options.h"
#include "engine/dbf/table_layout.h"

namespace dravella::engine::dbf {

std::vector<uint8_t> BuildTableHeader(const TableLayout& layout, const DbfDate& date);

}  // namespace dravella::engine::dbf
