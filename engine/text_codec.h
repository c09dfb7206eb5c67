// Bytes of a code page to UTF-8 and back, with the generated tables.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "engine/code_page_tables.h"

namespace dravella::engine {

// Reads byte texts of one code page. A pair the page leaves undefined reads
// as U+FFFD; a lead byte without a trail byte too (the trail, when it is
// ASCII, stays). Without a table every byte above 0x7F reads as '?'.
class ByteDecoder {
 public:
  explicit ByteDecoder(const CodePageTable* table);

  // Appends the text as UTF-8. Decode a whole text at once: a character's
  // two bytes must not be handed over in two calls.
  void AppendUtf8(std::span<const uint8_t> bytes, std::string* out) const;

 private:
  const CodePageTable* table_;
  std::array<const char16_t*, 128> rows_{};  // the row of each lead byte among 0x80-0xFF
};

// One character as a code page writes it.
struct EncodedCharacter {
  char bytes[4];
  uint8_t size;
  bool replaced;  // the page cannot hold the character (or the UTF-8 was malformed): '?'
};

// Writes characters in one code page, or in UTF-8 for kUtf8CodePage.
class CharacterEncoder {
 public:
  explicit CharacterEncoder(uint16_t number);

  // The character that starts at text[pos], advancing pos past it. A
  // malformed byte is one '?'.
  EncodedCharacter Next(std::string_view text, size_t& pos) const;

  // The page's code of a character (one byte, or lead << 8 | trail); 0 when
  // the page cannot hold it. ASCII is its own code.
  uint16_t CodeOf(char32_t c) const;

  bool utf8() const { return utf8_; }

 private:
  bool utf8_ = false;
  const void* map_ = nullptr;  // the page's character -> code map
};

}  // namespace dravella::engine
