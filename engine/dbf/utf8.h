// Walking UTF-8 text one character at a time.
#pragma once

#include <cstddef>
#include <string_view>

namespace dravella::engine::dbf {

inline constexpr char32_t kMalformed = 0xFFFFFFFF;

// The character starting at text[pos], advancing pos past it. A malformed
// sequence (stray continuation byte, overlong form, surrogate, beyond
// U+10FFFF, cut short) yields kMalformed and advances by one byte.
// pos must be below text.size().
char32_t NextCharacter(std::string_view text, size_t& pos);

}  // namespace dravella::engine::dbf
