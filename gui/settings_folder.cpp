#include "gui/settings_folder.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <cstdio>
#include <random>
#include <string>
#include <system_error>

#include "engine/platform/file_system.h"
#include "gui/qstring_convert.h"
#include "gui/user_settings_location.h"

namespace dravella::gui {
namespace {

// Whether a new file can be made in folder: the only test that also answers
// for read-only mounts and access lists. The probe is removed at once.
bool CanCreateFilesIn(const std::filesystem::path& folder) {
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error)) return false;
  const std::filesystem::path probe =
      folder / (".dravella-write-probe" + std::to_string(std::random_device{}()));
  std::FILE* file = platform::OpenNewFile(probe);
  if (file == nullptr) return false;
  std::fclose(file);
  std::filesystem::remove(probe, error);
  return true;
}

}  // namespace

std::filesystem::path SettingsFolderFor(const std::filesystem::path& program_folder,
                                        const std::filesystem::path& user_folder) {
  if (CanCreateFilesIn(program_folder)) return program_folder;
  std::error_code error;
  std::filesystem::create_directories(user_folder, error);
  return user_folder;
}

std::filesystem::path ProgramSettingsFolder() {
  const std::filesystem::path program_folder =
      platform::NativePath(PathFromQString(QCoreApplication::applicationDirPath()));
  const std::filesystem::path user_folder = platform::NativePath(
      PathFromQString(QStandardPaths::writableLocation(UserSettingsLocation())));
  return SettingsFolderFor(program_folder, user_folder);
}

}  // namespace dravella::gui
