// Where the program's path texts meet the file system.
//
// Paths travel through the engine and the converters as text: the file
// system's own bytes on POSIX systems, UTF-8 on Windows. Everything that
// hands such a text to the file system, or reads a name back from it, goes
// through these few calls, so that no path passes through a code page the
// text was not written in. One source file per platform implements them.
#pragma once

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "engine/platform/path_separator.h"

namespace dravella::platform {

// The file system's path for a path text, and the text for a path. A text
// that is not valid UTF-8 on Windows gives the empty path, which names nothing.
std::filesystem::path NativePath(std::string_view text);
std::string PathText(const std::filesystem::path& path);

// Whether the entry the path names is kept out of sight: on POSIX a last name
// starting with a dot ("." and ".." excepted), on Windows the hidden or system
// attribute (a drive's root folder is never hidden). A missing entry is not
// hidden.
bool IsHiddenEntry(std::string_view path);

// Creates a new file for writing in binary mode; nullptr when the path exists
// already or cannot be created (errno tells why).
std::FILE* OpenNewFile(const std::filesystem::path& path);

// Puts the file at from in the place of to as one step, replacing a file
// there (rename on POSIX, MoveFileExW on Windows).
std::error_code MoveOver(const std::filesystem::path& from, const std::filesystem::path& to);

// The longest file name, in bytes of its text, that folder surely accepts.
size_t LongestFileName(const std::filesystem::path& folder);

}  // namespace dravella::platform
