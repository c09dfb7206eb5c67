// The program's title (window caption, message boxes) and the maker's addresses.
#pragma once

#include "core/version.h"

namespace dravella::gui {

inline constexpr char kProgramTitle[] = "Dravella";
// The build's project version, as dravbatch --version prints it.
inline constexpr const char* kProgramVersion = core::kVersion;

// The maker's home page and support address: one place for both.
inline constexpr char kMakerHomePage[] = "https://www.dravella.example/";
inline constexpr char kMakerSupportMail[] = "support@dravella.example";

}  // namespace dravella::gui
