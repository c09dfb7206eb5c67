// The upper halves (bytes 0x80-0xFF) of the single-byte code pages the reader
// decodes; generated into code_page_tables.cpp by
// engine/tools/gen_code_page_tables.py. The lower halves are ASCII.
#pragma once

#include <cstdint>
#include <span>

namespace dravella::engine::xls {

struct CodePageTable {
  uint16_t number;           // the Windows code page number (10000 = Mac Roman)
  const char16_t* upper;     // 128 entries; U+FFFD where the page has no character
};

std::span<const CodePageTable> CodePageTables();

}  // namespace dravella::engine::xls
