// The window program from start to end: loads form1, shows it and runs until
// it is unloaded.
#pragma once

#include "gui/window_services.h"

class QApplication;

namespace dravella::gui {

// Returns the event loop's exit code once the main window has closed.
int RunDravella(QApplication& app, const WindowServices& services);

}  // namespace dravella::gui
