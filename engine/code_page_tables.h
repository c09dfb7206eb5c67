// How the bytes of the code pages that workbooks are read in and tables are
// written in map to Unicode. Generated into code_page_tables.cpp by
// engine/gen_code_page_tables.py from Python's codecs. Bytes 0x00-0x7F are
// ASCII in every page, also inside double-byte texts (no trail byte is below 0x40).
#pragma once

#include <cstdint>
#include <span>

namespace dravella::engine {

// Marks, among the bytes 0x80-0xFF, a byte the page leaves undefined or a
// byte that starts a two-byte character.
inline constexpr char16_t kUndefinedByte = 0xFFFD;
inline constexpr char16_t kLeadByte = 0xFFFF;

// The trail bytes a double-byte page's rows cover.
inline constexpr uint8_t kFirstTrailByte = 0x40;
inline constexpr uint8_t kLastTrailByte = 0xFE;
inline constexpr size_t kTrailBytes = kLastTrailByte - kFirstTrailByte + 1;

// A character the page writes otherwise than its decoding table suggests:
// code is one byte, lead << 8 | trail, or 0 for "cannot be written".
struct EncodingException {
  uint16_t code_point;
  uint16_t code;
};

struct CodePageTable {
  uint16_t number;        // the Windows code page number (10000 = Mac Roman)
  const char16_t* upper;  // 128 entries: bytes 0x80-0xFF
  // Double-byte pages: kTrailBytes characters per lead byte, the lead bytes
  // in order; U+FFFD for an undefined pair. nullptr for single-byte pages.
  const char16_t* rows;
  std::span<const EncodingException> exceptions;
};

std::span<const CodePageTable> CodePageTables();

// nullptr for a page without a table.
const CodePageTable* CodePageTableOf(uint16_t number);

}  // namespace dravella::engine
