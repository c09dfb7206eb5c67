#include "gui/user_settings_location.h"

namespace dravella::gui {

// ~/.config/<program>
QStandardPaths::StandardLocation UserSettingsLocation() {
  return QStandardPaths::AppConfigLocation;
}

}  // namespace dravella::gui
