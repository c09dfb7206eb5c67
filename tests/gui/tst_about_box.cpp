// Dialog1, the About box: caption, labels and places, the two links.
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "gui/about_box.h"
#include "gui/link_label.h"
#include "gui/program_title.h"
#include "test_doubles.h"

namespace gui = dravella::gui;
using dravella::testing::RecordingShellOpener;
using dravella::testing::ShellRequest;

class AboutBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void captionAndSize();
  void controls_data();
  void controls();
  void linksLookLikeLinks();
  void linksOpenThroughTheShell();
  void okCloses();
};

void AboutBoxTest::captionAndSize() {
  RecordingShellOpener shell;
  gui::AboutBox about(shell);
  QCOMPARE(about.objectName(), QString("Dialog1"));
  QCOMPARE(about.windowTitle(), QString("About us"));
  QCOMPARE(about.size(), QSize(327, 274));
  QCOMPARE(about.minimumSize(), about.maximumSize());
}

void AboutBoxTest::controls_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("parent");
  QTest::addColumn<QString>("text");  // "*" when the text is ours to choose
  QTest::addColumn<QRect>("geometry");
  auto row = [](const char* name, const char* parent, QString text, QRect geometry) {
    QTest::newRow(name) << QString(name) << QString(parent) << text << geometry;
  };
  row("Label1", "Dialog1", "Dravella", QRect(56, 16, 137, 17));
  row("Label4", "Dialog1", "Version:29.12.26", QRect(56, 32, 97, 17));
  row("Frame1", "Dialog1", "", QRect(16, 64, 297, 73));
  row("Label3", "Frame1", "Technical Support:", QRect(8, 16, 113, 17));
  row("Label2", "Frame1", gui::kMakerSupportMail, QRect(120, 16, 153, 17));
  row("Label7", "Frame1", " Website:", QRect(8, 32, 57, 17));
  row("Label8", "Frame1", "www.dravella.example", QRect(120, 32, 129, 17));
  row("Label6", "Frame1", "*", QRect(8, 48, 209, 17));
  row("Label5", "Dialog1", "*", QRect(8, 152, 313, 73));
  row("OKButton", "Dialog1", "OK", QRect(8, 240, 81, 25));
}

void AboutBoxTest::controls() {
  QFETCH(QString, name);
  QFETCH(QString, parent);
  QFETCH(QString, text);
  QFETCH(QRect, geometry);
  RecordingShellOpener shell;
  gui::AboutBox about(shell);
  auto* control = about.findChild<QWidget*>(name);
  QVERIFY(control != nullptr);
  QCOMPARE(control->parentWidget()->objectName(), parent);
  QCOMPARE(control->geometry(), geometry);
  QString shown;
  if (auto* label = qobject_cast<QLabel*>(control)) shown = label->text();
  if (auto* button = qobject_cast<QPushButton*>(control)) shown = button->text();
  if (text == "*") {
    QVERIFY(!shown.isEmpty());
  } else {
    QCOMPARE(shown, text);
  }
  // A label's text must fit its place: nothing of a one-line label is cut off.
  if (auto* label = qobject_cast<QLabel*>(control); label && !label->wordWrap()) {
    QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
             qPrintable(label->text()));
  }
  QVERIFY(control->font().families().value(0) == "Arial");
}

void AboutBoxTest::linksLookLikeLinks() {
  RecordingShellOpener shell;
  gui::AboutBox about(shell);
  for (QLabel* link : {static_cast<QLabel*>(about.Label2), static_cast<QLabel*>(about.Label8)}) {
    QCOMPARE(link->palette().color(QPalette::WindowText), about.palette().color(QPalette::Highlight));
    QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
  }
  QCOMPARE(about.Label3->palette().color(QPalette::WindowText),
           about.palette().color(QPalette::WindowText));
  QCOMPARE(about.Label3->cursor().shape(), Qt::ArrowCursor);
}

void AboutBoxTest::linksOpenThroughTheShell() {
  RecordingShellOpener shell;
  shell.answer = false;  // whatever the shell answers, nothing else happens
  gui::AboutBox about(shell);
  about.show();
  QVERIFY(QTest::qWaitForWindowExposed(&about));
  QTest::mouseClick(about.Label2, Qt::LeftButton);
  QTest::mouseClick(about.Label8, Qt::LeftButton);
  QTest::mouseClick(about.Label3, Qt::LeftButton);  // not a link
  QTest::mouseClick(about.Label8, Qt::RightButton);
  QCOMPARE(shell.requests,
           (std::vector<ShellRequest>{{std::string("mailto:") + gui::kMakerSupportMail, 3},
                                      {gui::kMakerHomePage, 5}}));
  QVERIFY(about.isVisible());
}

void AboutBoxTest::okCloses() {
  RecordingShellOpener shell;
  gui::AboutBox about(shell);
  about.show();
  QVERIFY(QTest::qWaitForWindowExposed(&about));
  QTest::mouseClick(about.OKButton, Qt::LeftButton);
  QTRY_VERIFY(!about.isVisible());
  QCOMPARE(about.result(), int(QDialog::Accepted));
}

QTEST_MAIN(AboutBoxTest)
#include "tst_about_box.moc"
