// The few questions the converters ask the file system about their outputs,
// and the one way they create a folder. The platform-specific parts live in
// output_entries.cpp only.
#pragma once

#include <cstddef>
#include <string>

#include "core/path_join.h"

namespace dravella::core {

// Whether anything at all stands at path: a file, a folder, a link (even a
// dangling one), hidden or not, whatever characters its name holds. Outputs
// are tested this way; the input rules of PathKind are for inputs only.
bool EntryExists(const std::string& path);

// Whether path names an existing folder (links followed), trailing
// separators allowed.
bool IsExistingFolder(const std::string& path);

// Creates the last level of folder; its parent must exist. A folder that
// another process created meanwhile counts as created. On failure, reason
// (when given) receives the system's description.
bool CreateOneFolder(const std::string& folder, std::string* reason = nullptr);

// The longest file name, in bytes, that folder accepts.
size_t LongestFileName(const std::string& folder);

}  // namespace dravella::core
