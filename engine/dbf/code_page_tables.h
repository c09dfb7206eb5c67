// The characters above ASCII of the single-byte code pages a table can be
// written in, each with its byte: the inverse of the shared decoding tables.
#pragma once

#include <cstdint>
#include <span>

#include "engine/dbf/dbf_options.h"

namespace dravella::engine::dbf {

struct CodePointByte {
  uint16_t code_point;
  uint8_t byte;
};

// Sorted by code point; empty for UTF-8. Bytes 0x00-0x7F are ASCII in
// every one of these pages (engine/gen_code_page_tables.py checks it).
std::span<const CodePointByte> UpperHalfOf(CodePage page);

}  // namespace dravella::engine::dbf
