// Dravella, the interactive converter.
#include <QApplication>

#include "core/shell_open.h"
#include "gui/message_box.h"
#include "gui/program.h"
#include "gui/program_title.h"
#include "gui/qstring_convert.h"
#include "gui/qt_dialog_system.h"
#include "gui/settings_folder.h"

int main(int argc, char* argv[]) {
  using namespace dravella::gui;
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(kProgramTitle));
  QApplication::setApplicationVersion(QString::fromLatin1(kProgramVersion));

  QtMessageBoxes messages;
  QtDialogSystem dialog_system;
  const WindowServices services{messages, dravella::core::SystemShellOpener(), dialog_system,
                                PathFromQString(QApplication::applicationDirPath()),
                                ProgramSettingsFolder()};
  return RunDravella(app, services);
}
