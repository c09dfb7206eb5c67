// UTF-8 and the UTF-16 of the Windows API (Windows only).
#pragma once

#include <string>
#include <string_view>

namespace dravella::platform {

// The empty text when text is not valid UTF-8.
std::wstring WideFromUtf8(std::string_view text);

// Unpaired surrogates become U+FFFD.
std::string Utf8FromWide(std::wstring_view text);

}  // namespace dravella::platform
