// How the engine's UTF-8 texts become the bytes of a table's code page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/ascii.h"
#include "engine/dbf/dbf_options.h"
#include "engine/text_codec.h"

namespace dravella::engine::dbf {

// The language driver byte (header byte 29) that names the code page;
// 0 for UTF-8, which is named by a .cpg file instead.
uint8_t LanguageDriverOf(CodePage page);

// The text of the .cpg file written beside the table; empty when none is.
std::string_view CpgTextOf(CodePage page);

// Whether every byte is ASCII (written as it is in every code page).
inline bool IsAscii(std::string_view text) { return AsciiPrefix(text) == text.size(); }

// Copies an ASCII text, or as much of it as limit allows, and returns true:
// what EncodeInto writes for it. False (having written part of it) when a
// byte within the limit is not ASCII.
inline bool CopyAscii(std::string_view text, char* out, size_t limit) {
  return CopyAsciiPrefix(text, out, limit) == (text.size() < limit ? text.size() : limit);
}

struct EncodedSize {
  size_t whole;  // bytes of the whole text
  size_t cut;    // bytes when cut to the limit at a character boundary
};

// The size of a text in the code page, without writing it.
EncodedSize MeasureEncoded(std::string_view utf8, CodePage page, size_t limit);
// The same with the page's encoder at hand, for callers that measure many texts.
EncodedSize MeasureEncoded(std::string_view utf8, const CharacterEncoder& encoder, size_t limit);

// Writes the text in the code page, at most limit bytes and never part of
// a character; returns the bytes written. A character the page cannot
// hold, and each byte of malformed UTF-8, becomes '?'; when replaced is
// given, the number of those '?' written is added to it.
size_t EncodeInto(std::string_view utf8, CodePage page, char* out, size_t limit,
                  size_t* replaced = nullptr);
size_t EncodeInto(std::string_view utf8, const CharacterEncoder& encoder, char* out, size_t limit,
                  size_t* replaced = nullptr);

// The whole text in the code page, appended to out.
void EncodeAppend(std::string_view utf8, CodePage page, std::string& out,
                  size_t* replaced = nullptr);

}  // namespace dravella::engine::dbf
