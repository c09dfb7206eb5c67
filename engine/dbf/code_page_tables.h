// The single-byte code pages' characters above ASCII, from Python's codecs.
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
// every one of these pages (make_code_page_tables.py checks it).
std::span<const CodePointByte> UpperHalfOf(CodePage page);

}  // namespace dravella::engine::dbf
