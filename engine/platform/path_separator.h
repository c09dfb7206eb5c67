// The separator of folder paths on this platform, and which characters
// separate names. Header only: the dialogs and the core share it without
// linking anything.
#pragma once

#include <filesystem>

namespace dravella::platform {

// The separator put between a folder and a name: '/' on POSIX, '\' on Windows.
inline constexpr char kPathSeparator = static_cast<char>(std::filesystem::path::preferred_separator);

// Whether c separates names here: '/' everywhere, and '\' on Windows too.
constexpr bool IsPathSeparator(char c) { return c == '/' || c == kPathSeparator; }

}  // namespace dravella::platform
