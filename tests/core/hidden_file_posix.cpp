#include "tests/core/hidden_file.h"

namespace dravella::testing {

std::string WriteHiddenFile(const TempFolder& folder, const std::string& name) {
  return folder.WriteFile("." + name);
}

}  // namespace dravella::testing
