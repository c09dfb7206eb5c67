#include "gui/settings_folder.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QStandardPaths>
#include <string>
#include <system_error>

#include "gui/qstring_convert.h"

namespace dravella::gui {
namespace {

// Whether a new file can be made in folder: the only test that also answers
// for read-only mounts and access lists. The probe is removed at once.
bool CanCreateFilesIn(const std::filesystem::path& folder) {
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error)) return false;
  const std::string probe = (folder / ".dravella-write-probe").string() + std::to_string(getpid());
  const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(probe.c_str());
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
      PathFromQString(QCoreApplication::applicationDirPath());
  const std::filesystem::path user_folder =
      PathFromQString(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
  return SettingsFolderFor(program_folder, user_folder);
}

}  // namespace dravella::gui
