// Which of Qt's standard folders holds the settings of a user who cannot
// write beside the program. One source file per platform.
#pragma once

#include <QStandardPaths>

namespace dravella::gui {

QStandardPaths::StandardLocation UserSettingsLocation();

}  // namespace dravella::gui
