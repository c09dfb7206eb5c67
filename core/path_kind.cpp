#include "core/path_kind.h"

#include <filesystem>
#include <system_error>

#include "core/path_separator.h"

namespace dravella::core {
namespace {

constexpr char kSeparator = kPathSeparator;

// The last name of the path, ignoring one trailing separator.
std::string LastName(std::string path) {
  if (!path.empty() && path.back() == kSeparator) path.pop_back();
  const auto slash = path.rfind(kSeparator);
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Hidden entries are those whose name starts with a dot; "." and ".." are
// the folders themselves, not hidden entries.
bool IsHiddenName(const std::string& name) {
  return !name.empty() && name[0] == '.' && name != "." && name != "..";
}

bool EndsWithTwoSeparators(const std::string& path) {
  return path.size() >= 2 && path[path.size() - 1] == kSeparator &&
         path[path.size() - 2] == kSeparator;
}

}  // namespace

int PathKind(const std::string& path) {
  // A pattern with "*" or "?" is looked up as typed, so it names only an
  // entry of exactly that name: on this platform such characters belong to
  // real names, and no pattern is ever expanded.
  if (path.empty()) return kPathMissing;
  if (path.find('\0') != std::string::npos) return kPathMissing;
  if (EndsWithTwoSeparators(path)) return kPathMissing;
  if (IsHiddenName(LastName(path))) return kPathMissing;

  // status() follows links and never opens the entry, so a FIFO cannot block.
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (error) return kPathMissing;
  if (std::filesystem::is_directory(status)) return kPathFolder;
  if (std::filesystem::is_regular_file(status)) {
    // A file named with a trailing separator is not that file.
    return path.back() == kSeparator ? kPathMissing : kPathFile;
  }
  return kPathMissing;
}

}  // namespace dravella::core
