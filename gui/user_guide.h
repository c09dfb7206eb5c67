// Where Help finds the user guide.
#pragma once

#include <filesystem>

namespace dravella::gui {

// The guide's first page, share/doc/dravella/index.html beside the program's
// bin folder: where an install puts it, and where the build puts it for the
// program in build/gui. Empty when there is none.
std::filesystem::path UserGuideFor(const std::filesystem::path& program_folder);

}  // namespace dravella::gui
