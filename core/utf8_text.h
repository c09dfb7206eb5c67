// Small UTF-8 text helpers the naming rules need: character counts and a
// letter-case fold that also covers accented Latin, Greek and Cyrillic letters.
#pragma once

#include <string>
#include <string_view>

namespace dravella::core {

// Number of characters (code points) of a UTF-8 text.
size_t Utf8Length(std::string_view text);

// The text with its letters lower-cased: ASCII, Latin-1, Latin Extended-A,
// Greek and Cyrillic capitals; every other character stays as it is.
std::string Utf8ToLower(std::string_view text);

}  // namespace dravella::core
