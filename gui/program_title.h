// The program's title (window caption, message boxes) and the maker's addresses.
#pragma once

namespace dravella::gui {

inline constexpr char kProgramTitle[] = "Dravella";
inline constexpr char kProgramVersion[] = "29.12.26";

// The maker's home page and support address: one place for both.
inline constexpr char kMakerHomePage[] = "https://www.dravella.example/";
inline constexpr char kMakerSupportMail[] = "support@dravella.example";

}  // namespace dravella::gui
