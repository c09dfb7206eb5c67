// UTF-8, the one text encoding the engine hands out and takes in: walking it
// a character at a time and appending characters to it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace dravella::engine {

inline constexpr char32_t kMalformed = 0xFFFFFFFF;

// The character starting at text[pos], advancing pos past it. A malformed
// sequence (stray continuation byte, overlong form, surrogate, beyond
// U+10FFFF, cut short) yields kMalformed and advances by one byte.
// pos must be below text.size().
char32_t NextCharacter(std::string_view text, size_t& pos);

// Appends one code point; anything outside Unicode becomes U+FFFD.
void AppendUtf8(char32_t code_point, std::string* out);

// Appends UTF-16 text; a surrogate without its partner becomes U+FFFD.
void AppendUtf16AsUtf8(std::u16string_view text, std::string* out);

// Appends Latin-1 text (each byte is the code point of the same number).
void AppendLatin1AsUtf8(std::string_view text, std::string* out);

}  // namespace dravella::engine
