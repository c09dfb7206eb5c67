#include "core/output_entries.h"

#include <filesystem>
#include <system_error>

#include "engine/platform/file_system.h"

namespace dravella::core {
namespace fs = std::filesystem;

bool EntryExists(const std::string& path) {
  if (path.empty()) return false;
  std::error_code error;
  const fs::file_status status = fs::symlink_status(platform::NativePath(path), error);
  return !error && status.type() != fs::file_type::not_found;
}

bool IsExistingFolder(const std::string& path) {
  if (path.empty()) return false;
  std::error_code error;
  return fs::is_directory(platform::NativePath(path), error) && !error;
}

bool CreateOneFolder(const std::string& folder, std::string* reason) {
  std::error_code error;
  if (fs::create_directory(platform::NativePath(folder), error) && !error) return true;
  // Another run may have made it between our test and our creation.
  if (IsExistingFolder(folder)) return true;
  if (reason != nullptr) {
    *reason = "cannot create the folder " + folder + ": " +
              (error ? error.message() : std::string("a file of that name is in the way"));
  }
  return false;
}

size_t LongestFileName(const std::string& folder) {
  return platform::LongestFileName(platform::NativePath(folder));
}

}  // namespace dravella::core
