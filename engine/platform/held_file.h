// Files their writer holds while it writes them, so that a cleaner can tell
// a live temporary file from the leftover of a run that ended midway. One
// source file per platform: a lock on POSIX systems, a locked byte range far
// beyond any data on Windows.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>

namespace dravella::platform {

// What keeps a file held: a descriptor on POSIX, a handle on Windows.
using FileHold = std::intptr_t;
inline constexpr FileHold kNoHold = -1;

// Creates a new file at path, holds it, and opens it for writing in binary
// mode. nullptr on failure, errno telling why: EEXIST when the name is taken,
// also when a cleaner took the new file for a leftover before it was held.
// The hold outlives the stream: it ends with ReleaseHold.
std::FILE* CreateHeldFile(const std::filesystem::path& path, FileHold& hold);

// Lets go of a file; the file stays. kNoHold is ignored.
void ReleaseHold(FileHold hold);

// Removes the file at path when no writer holds it; anything else is left.
void RemoveIfNotHeld(const std::filesystem::path& path);

}  // namespace dravella::platform
