// The upper halves (bytes 0x80-0xFF) of the single-byte code pages: the reader
// decodes old workbooks' byte strings with them, the table writer encodes by
// their inverse. Generated into code_page_tables.cpp by
// engine/gen_code_page_tables.py. The lower halves are ASCII.
#pragma once

#include <cstdint>
#include <span>

namespace dravella::engine {

struct CodePageTable {
  uint16_t number;           // the Windows code page number (10000 = Mac Roman)
  const char16_t* upper;     // 128 entries; U+FFFD where the page has no character
};

std::span<const CodePageTable> CodePageTables();

// The 128 characters of a page's bytes 0x80-0xFF; nullptr for a page
// without a table.
const char16_t* UpperHalfOfCodePage(uint16_t number);

}  // namespace dravella::engine
