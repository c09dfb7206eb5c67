// The program from start to end: RunDravella shows form1 and returns once the
// window is closed, by Exit or by the close box, with the lists saved.
#include <QApplication>
#include <QTimer>
#include <QTreeWidget>
#include <QWindow>
#include <QtTest>

#include "gui/form1.h"
#include "gui/program.h"
#include "gui/saved_lists.h"
#include "test_doubles.h"
#include "form_controls.h"

namespace gui = dravella::gui;
using dravella::testing::Ui;
using dravella::testing::TestServices;

namespace {

gui::Form1* ShownMainWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->objectName() == "form1" && widget->isVisible()) return qobject_cast<gui::Form1*>(widget);
  }
  return nullptr;
}

// Once form1 is up: adds an input entry, then closes the window as asked.
void CloseWhenShown(bool by_close_box, bool* seen) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, [poll, by_close_box, seen] {
    gui::Form1* window = ShownMainWindow();
    if (window == nullptr || !window->windowHandle()->isExposed()) return;
    poll->stop();
    poll->deleteLater();
    *seen = true;
    new QTreeWidgetItem(Ui(*window).ListView1, {"/data/kept.xls"});
    if (by_close_box) {
      QCloseEvent close_box;
      QApplication::sendEvent(window->windowHandle(), &close_box);
    } else {
      Ui(*window).Command9->click();
    }
  });
  poll->start(10);
}

}  // namespace

class ProgramLifecycleTest : public QObject {
  Q_OBJECT

 private slots:
  void startsAndEndsWhenClosed_data();
  void startsAndEndsWhenClosed();
};

void ProgramLifecycleTest::startsAndEndsWhenClosed_data() {
  QTest::addColumn<bool>("by_close_box");
  QTest::newRow("Exit") << false;
  QTest::newRow("close box") << true;
}

void ProgramLifecycleTest::startsAndEndsWhenClosed() {
  QFETCH(bool, by_close_box);
  TestServices stand_ins;
  gui::WriteSettings(stand_ins.SettingsFolder(), true, false);
  bool seen = false;
  CloseWhenShown(by_close_box, &seen);
  // A program that never closes fails here instead of hanging the run.
  QTimer::singleShot(20000, qApp, [] { QApplication::exit(99); });

  const int exit_code = gui::RunDravella(*qApp, stand_ins.Services());
  QVERIFY(seen);
  QCOMPARE(exit_code, 0);
  QVERIFY(ShownMainWindow() == nullptr);
  QCOMPARE(gui::ReadLines(stand_ins.SettingsFolder() / gui::kInputListFile),
           std::vector<std::string>{"/data/kept.xls"});
}

QTEST_MAIN(ProgramLifecycleTest)
#include "tst_program_lifecycle.moc"
