// Text conversions the builder needs: UTF-8 (how tests spell their strings)
// to UTF-16 for BIFF8, and to the code pages of BIFF2-BIFF5.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dravella::testing {

// UTF-8 to UTF-16 (surrogate pairs above U+FFFF). Throws std::invalid_argument
// on malformed UTF-8: a fixture's text is always meant.
std::u16string Utf8ToUtf16(std::string_view utf8);

// True when every code unit fits in one byte, so BIFF8 may store the text
// "compressed" (the high bytes left out).
bool FitsInLatin1(std::u16string_view text);

// True for the code pages EncodeForCodepage knows: the single-byte pages
// of tests/support/gen_fixture_code_pages.py, 32768 (Mac Roman), 32769
// (Windows 1252 as BIFF2-4 write it), 367 and 20127 (ASCII), and the
// double-byte pages 932, 936, 949 and 950.
bool IsKnownByteStringCodepage(uint16_t codepage);

// UTF-8 to bytes of a code page, as Python's codecs write them (never with
// the engine's own tables). ASCII text goes into any code page; otherwise
// throws std::invalid_argument for an unknown code page or a character the
// fixture table does not hold.
std::string EncodeForCodepage(std::string_view utf8, uint16_t codepage);

}  // namespace dravella::testing
