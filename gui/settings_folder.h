// Where the saved lists and settings (set.txt, EXCEL.txt, output.txt) live.
#pragma once

#include <filesystem>

namespace dravella::gui {

// The program's own folder when files can be created in it; otherwise (a
// system-wide install) the per-user folder, created when missing, so that
// settings are not lost at every exit. The folder chosen is used for reading
// and writing alike.
std::filesystem::path SettingsFolderFor(const std::filesystem::path& program_folder,
                                        const std::filesystem::path& user_folder);

// SettingsFolderFor the executable's folder and the program's per-user
// folder (UserSettingsLocation). Needs a QCoreApplication.
std::filesystem::path ProgramSettingsFolder();

}  // namespace dravella::gui
