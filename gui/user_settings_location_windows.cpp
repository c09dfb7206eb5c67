#include "gui/user_settings_location.h"

namespace dravella::gui {

// %APPDATA%\Dravella: the roaming folder, which follows the
// user from machine to machine as saved lists should.
QStandardPaths::StandardLocation UserSettingsLocation() {
  return QStandardPaths::AppDataLocation;
}

}  // namespace dravella::gui
