// A small file that the platform keeps out of sight: a name starting with a
// dot here, the hidden attribute on Windows. One source file per platform.
#pragma once

#include <string>

#include "tests/core/temp_folder.h"

namespace dravella::testing {

// Writes the file below folder and returns its path.
std::string WriteHiddenFile(const TempFolder& folder, const std::string& name);

}  // namespace dravella::testing
