// What field names need to know of a character: whether it is a letter or a
// decimal digit, and its upper-case form. Generated into unicode_tables.cpp by
// engine/gen_unicode_tables.py, so every build answers alike without a
// platform library.
#pragma once

#include <cstdint>

namespace dravella::engine {

enum class CharacterClass { kOther, kLetter, kDecimalDigit };

// Letters are the Unicode categories L*, decimal digits Nd.
CharacterClass ClassOf(char32_t c);

// The upper-case form where it is a single character; else c itself
// ("ß" upper-cases to two letters and stays).
char32_t SimpleUpperCase(char32_t c);

}  // namespace dravella::engine
