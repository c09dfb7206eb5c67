#include <windows.h>

#include "engine/platform/file_system.h"
#include "tests/core/hidden_file.h"

namespace dravella::testing {

std::string WriteHiddenFile(const TempFolder& folder, const std::string& name) {
  const std::string path = folder.WriteFile(name);
  SetFileAttributesW(platform::NativePath(path).c_str(), FILE_ATTRIBUTE_HIDDEN);
  return path;
}

}  // namespace dravella::testing
