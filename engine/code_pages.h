// The code pages a table can be written in: one row of facts per page, used
// by the command line, the engine and the window alike.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "engine/code_page_tables.h"

namespace dravella::engine {

inline constexpr uint16_t kUtf8CodePage = 65001;

struct CodePageFacts {
  uint16_t number;            // the Windows code page number; 65001 is UTF-8
  std::string_view key;       // how settings and /cp= name it: "936", "utf8"
  std::string_view name;      // how users see it: "936 - Chinese Simplified (GBK)"
  std::array<std::string_view, 2> aliases;  // further spellings, lower case
  uint8_t language_driver;    // header byte 29 of a dBASE III/IV table
  std::string_view cpg_text;  // the .cpg file beside the table; empty: none
  const CodePageTable* table; // bytes to characters; nullptr for UTF-8
};

// In the order users see them; 1252, the default, among them.
std::span<const CodePageFacts> TableCodePages();

// The row of a page by its number; nullptr when tables are not written in it.
const CodePageFacts* CodePageFactsOf(uint16_t number);

// The row a user's spelling names: the key, the number, "cp" and the
// number, or an alias, in any letter case ("936", "CP936", "utf-8", "65001").
const CodePageFacts* FindCodePage(std::string_view spelling);

// "437, 737, ..., 1257, utf8": the keys, for messages and help texts.
std::string CodePageKeyList();

}  // namespace dravella::engine
