#include "engine/platform/file_system.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace dravella::platform {
namespace {

// Names of 255 bytes are what the common file systems of this platform take.
constexpr size_t kUsualLongestFileName = 255;

}  // namespace

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

std::error_code MoveOver(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (std::rename(from.c_str(), to.c_str()) == 0) return {};
  return std::error_code(errno, std::generic_category());
}

size_t LongestFileName(const std::filesystem::path& folder) {
  const long longest = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
  return longest > 0 ? static_cast<size_t>(longest) : kUsualLongestFileName;
}

}  // namespace dravella::platform
