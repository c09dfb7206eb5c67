#include "engine/platform/file_system.h"

namespace dravella::platform {

// Names are the file system's bytes: they pass unchanged both ways.
std::filesystem::path NativePath(std::string_view text) {
  return std::filesystem::path(std::string(text));
}

std::string PathText(const std::filesystem::path& path) { return path.native(); }

bool IsHiddenEntry(std::string_view path) {
  if (!path.empty() && path.back() == '/') path.remove_suffix(1);
  const auto slash = path.rfind('/');
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  return !name.empty() && name[0] == '.' && name != "." && name != "..";
}

std::FILE* OpenNewFile(const std::filesystem::path& path) {
  return std::fopen(path.c_str(), "wbx");
}

}  // namespace dravella::platform
