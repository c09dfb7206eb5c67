// What a path names: nothing usable, an existing folder or an existing file.
#pragma once

#include <string>

namespace dravella::core {

enum PathKindValue : int { kPathMissing = 0, kPathFolder = 1, kPathFile = 2 };

// 1 for an existing folder (one trailing separator allowed), 2 for an existing
// regular file (links followed), 0 for everything else: missing, empty, a
// pattern with "*" or "?" that names no entry of exactly that name, a hidden
// entry (a last name starting with "." here, the hidden or system attribute
// on Windows), a file path with a trailing separator, a dangling link, a
// FIFO, socket or device, or a path that cannot be examined. Never throws and never opens the entry.
int PathKind(const std::string& path);

}  // namespace dravella::core
