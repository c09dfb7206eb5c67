#include "gui/user_guide.h"

#include <system_error>

namespace dravella::gui {

std::filesystem::path UserGuideFor(const std::filesystem::path& program_folder) {
  const std::filesystem::path guide =
      program_folder.parent_path() / "share" / "doc" / "dravella" / "index.html";
  std::error_code error;
  if (!std::filesystem::is_regular_file(guide, error)) return {};
  return guide.lexically_normal();
}

}  // namespace dravella::gui
