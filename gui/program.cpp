#include "gui/program.h"

#include <QApplication>

#include "gui/form1.h"

namespace dravella::gui {

int RunDravella(QApplication& app, const WindowServices& services) {
  // The program ends when its last window, form1, has gone.
  app.setQuitOnLastWindowClosed(true);
  Form1 form1(services);
  form1.show();
  return app.exec();
}

}  // namespace dravella::gui
