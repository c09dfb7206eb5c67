// Texts as the dialog records carry them: fixed buffers ended by a NUL.
#pragma once

#include <cstddef>
#include <string>

namespace dravella::dialogs {

// The characters before the first NUL, or the whole text when it has none.
std::string UpToFirstNul(const std::string& text);

// The first size bytes of buffer, cut at the first NUL among them.
std::string UpToFirstNul(const char* buffer, std::size_t size);

// text cut to at most max_bytes bytes without splitting a UTF-8 character.
std::string CutToBytes(const std::string& text, std::size_t max_bytes);

}  // namespace dravella::dialogs
