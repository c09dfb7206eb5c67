// The one separator of folder paths on this platform, and joining with it.
// Header only, so that the dialogs can share it without the core library.
#pragma once

#include <string>
#include <string_view>

#include "engine/platform/path_separator.h"

namespace dravella::core {

using platform::IsPathSeparator;
using platform::kPathSeparator;

// The folder with exactly its own trailing separator added when it has none.
inline std::string WithSeparator(std::string folder) {
  if (folder.empty() || !IsPathSeparator(folder.back())) folder += kPathSeparator;
  return folder;
}

// folder + separator + name, with no doubled separator between them.
inline std::string JoinPath(std::string folder, std::string_view name) {
  folder = WithSeparator(std::move(folder));
  folder.append(name);
  return folder;
}

}  // namespace dravella::core
