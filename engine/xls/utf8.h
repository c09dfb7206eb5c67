// Appending Unicode text as UTF-8, the only encoding the reader hands out.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dravella::engine::xls {

// Appends one code point; anything outside Unicode becomes U+FFFD.
void AppendUtf8(char32_t code_point, std::string* out);

// Appends UTF-16 text; a surrogate without its partner becomes U+FFFD.
void AppendUtf16AsUtf8(std::u16string_view text, std::string* out);

}  // namespace dravella::engine::xls
