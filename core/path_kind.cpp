#include "core/path_kind.h"

#include <filesystem>
#include <system_error>

#include "core/path_join.h"
#include "engine/platform/file_system.h"

namespace dravella::core {
namespace {

bool EndsWithTwoSeparators(const std::string& path) {
  return path.size() >= 2 && IsPathSeparator(path[path.size() - 1]) &&
         IsPathSeparator(path[path.size() - 2]);
}

}  // namespace

int PathKind(const std::string& path) {
  // A pattern with "*" or "?" is looked up as typed, so it names only an
  // entry of exactly that name: on POSIX such characters belong to real
  // names, on Windows no name holds them; no pattern is ever expanded.
  if (path.empty()) return kPathMissing;
  if (path.find('\0') != std::string::npos) return kPathMissing;
  if (EndsWithTwoSeparators(path)) return kPathMissing;
  if (platform::IsHiddenEntry(path)) return kPathMissing;

  const std::filesystem::path native = platform::NativePath(path);
  if (native.empty()) return kPathMissing;
  // status() follows links and never opens the entry, so a FIFO cannot block.
  std::error_code error;
  const auto status = std::filesystem::status(native, error);
  if (error) return kPathMissing;
  if (std::filesystem::is_directory(status)) return kPathFolder;
  if (std::filesystem::is_regular_file(status)) {
    // A file named with a trailing separator is not that file.
    return IsPathSeparator(path.back()) ? kPathMissing : kPathFile;
  }
  return kPathMissing;
}

}  // namespace dravella::core
