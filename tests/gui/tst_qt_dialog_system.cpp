// The Qt dialog system behind CCommonDialogs: each dialog opens with what the
// records ask for, and the user's answer comes back through the records.
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QFileDialog>
#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QFontDialog>
#include <QGroupBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <fstream>
#include <functional>

#include "dialogs/common_dialogs.h"
#include "gui/qt_dialog_system.h"

namespace gui = dravella::gui;
using dravella::dialogs::CCommonDialogs;

namespace {

// Runs act on the next modal dialog of type Dialog once it is open.
template <typename Dialog>
void OnNextModal(std::function<void(Dialog*)> act) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, [poll, act] {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible()) return;
    poll->stop();
    poll->deleteLater();
    act(dialog);
    // A dialog the step failed to close is cancelled, so the test fails
    // instead of waiting forever.
    QTimer::singleShot(3000, dialog, [dialog] {
      if (dialog->isVisible()) static_cast<QDialog*>(dialog)->reject();
    });
  });
  poll->start(10);
}

// Types a name into the dialog's file-name field, as the user does. (The
// field keeps what selectFile() puts there only while it has no focus, which
// depends on when the window was activated.)
void TypeFileName(QFileDialog* dialog, const QString& name) {
  auto* field = dialog->findChild<QLineEdit*>("fileNameEdit");
  QVERIFY(field != nullptr);
  // What is typed replaces what was picked in the lists.
  for (QAbstractItemView* view : dialog->findChildren<QAbstractItemView*>()) {
    if (view->selectionModel() != nullptr) view->selectionModel()->clear();
  }
  field->setText(name);
}

std::string MakeFile(const QTemporaryDir& dir, const char* name) {
  const std::string path = dir.filePath(name).toStdString();
  std::ofstream(path) << "x";
  return path;
}

}  // namespace

class QtDialogSystemTest : public QObject {
  Q_OBJECT

 private slots:
  void openDialogHonoursRecord();
  void openCancelled();
  void saveDialogHonoursRecord();
  void folderDialogOffersFoldersOnly();
  void colorDialogStartsOnColor();
  void fontDialogStartsOnFontWithoutEffects();
};

void QtDialogSystemTest::openDialogHonoursRecord() {
  QTemporaryDir dir;
  const std::string start = MakeFile(dir, "start.xls");
  const std::string chosen = MakeFile(dir, "chosen.xls");
  QWidget owner;
  gui::QtDialogSystem system;
  CCommonDialogs dialog(system);
  dialog.Init(gui::WindowHandleOf(&owner));
  dialog.SetTitle("Select Excel File");
  dialog.SetDefExt("xls");
  dialog.SetFileName(start);

  struct {
    QString title;
    QStringList filters;
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    QFileDialog::AcceptMode accept = QFileDialog::AcceptSave;
    QString suffix;
    QStringList selected;
    QWidget* parent = nullptr;
  } seen;
  OnNextModal<QFileDialog>([&](QFileDialog* file_dialog) {
    seen = {file_dialog->windowTitle(), file_dialog->nameFilters(), file_dialog->fileMode(),
            file_dialog->acceptMode(), file_dialog->defaultSuffix(), file_dialog->selectedFiles(),
            file_dialog->parentWidget()};
    TypeFileName(file_dialog, "chosen.xls");
    static_cast<QDialog*>(file_dialog)->accept();
  });
  QVERIFY(dialog.ShowOpen());

  QCOMPARE(seen.title, QString("Select Excel File"));
  QCOMPARE(seen.filters, QStringList{"Excel files(*.xls) (*.xls)"});
  QCOMPARE(seen.mode, QFileDialog::ExistingFile);
  QCOMPARE(seen.accept, QFileDialog::AcceptOpen);
  QCOMPARE(seen.suffix, QString("xls"));
  // The initial file, without the blanks that pad it.
  QCOMPARE(seen.selected, QStringList{QString::fromStdString(start)});
  QCOMPARE(seen.parent, &owner);

  QCOMPARE(dialog.FileName(), chosen);
  QCOMPARE(dialog.Path(), dir.path().toStdString());
  QCOMPARE(dialog.FileTitle(), std::string("chosen.xls"));
}

void QtDialogSystemTest::openCancelled() {
  gui::QtDialogSystem system;
  CCommonDialogs dialog(system);
  dialog.SetFileName("/keep.xls");
  QString title;
  QString suffix = "unset";
  OnNextModal<QFileDialog>([&](QFileDialog* file_dialog) {
    title = file_dialog->windowTitle();
    suffix = file_dialog->defaultSuffix();
    file_dialog->reject();
  });
  QVERIFY(!dialog.ShowOpen());
  // No Title: the dialog's own caption; no DefExt: no extension added.
  QCOMPARE(title, QFileDialog::tr("Open"));
  QCOMPARE(suffix, QString());
  QCOMPARE(dialog.FileName(), std::string("/keep.xls"));
}

void QtDialogSystemTest::saveDialogHonoursRecord() {
  QTemporaryDir dir;
  gui::QtDialogSystem system;
  CCommonDialogs dialog(system);
  dialog.SetPath(dir.path().toStdString());
  dialog.SetFilter("Text (*.txt)|*.txt|All|*.*");
  const std::string existing = MakeFile(dir, "report.txt");

  struct {
    QString title;
    QStringList filters;
    QString selected_filter;
    QString directory;
    QFileDialog::AcceptMode accept = QFileDialog::AcceptOpen;
    bool no_overwrite_prompt = false;
  } seen;
  OnNextModal<QFileDialog>([&](QFileDialog* file_dialog) {
    seen = {file_dialog->windowTitle(), file_dialog->nameFilters(), file_dialog->selectedNameFilter(),
            file_dialog->directory().absolutePath(), file_dialog->acceptMode(),
            file_dialog->testOption(QFileDialog::DontConfirmOverwrite)};
    TypeFileName(file_dialog, "report.txt");
    static_cast<QDialog*>(file_dialog)->accept();
  });
  QVERIFY(dialog.ShowSave());

  QCOMPARE(seen.title, QString("Save"));
  QCOMPARE(seen.filters, (QStringList{"Text (*.txt) (*.txt)", "All (*.*)"}));
  QCOMPARE(seen.selected_filter, QString("Text (*.txt)"));
  QCOMPARE(seen.directory, dir.path());
  QCOMPARE(seen.accept, QFileDialog::AcceptSave);
  QVERIFY(seen.no_overwrite_prompt);
  QCOMPARE(dialog.FileName(), existing);
  QCOMPARE(dialog.FileTitle(), std::string("report.txt"));
}

void QtDialogSystemTest::folderDialogOffersFoldersOnly() {
  QTemporaryDir dir;
  gui::QtDialogSystem system;
  CCommonDialogs dialog(system);
  dialog.SetTitle("Output Folder");
  QString title;
  QFileDialog::FileMode mode = QFileDialog::AnyFile;
  bool dirs_only = false;
  OnNextModal<QFileDialog>([&](QFileDialog* file_dialog) {
    title = file_dialog->windowTitle();
    mode = file_dialog->fileMode();
    dirs_only = file_dialog->testOption(QFileDialog::ShowDirsOnly);
    // The user walks into the folder and confirms it.
    file_dialog->setDirectory(dir.path());
    static_cast<QDialog*>(file_dialog)->accept();
  });
  QVERIFY(dialog.ShowFolder());
  QCOMPARE(title, QString("Output Folder"));
  QCOMPARE(mode, QFileDialog::Directory);
  QVERIFY(dirs_only);
  QCOMPARE(QString::fromStdString(dialog.Path()), dir.path());
  QCOMPARE(dialog.FileName(), std::string());
}

void QtDialogSystemTest::colorDialogStartsOnColor() {
  gui::QtDialogSystem system;
  CCommonDialogs dialog(system);
  dialog.SetColor(0x0000FF);  // red, in the low byte
  QColor initial;
  OnNextModal<QColorDialog>([&](QColorDialog* colour_dialog) {
    initial = colour_dialog->currentColor();
    colour_dialog->setCurrentColor(QColor(0x10, 0x20, 0x30));
    colour_dialog->accept();
  });
  QVERIFY(dialog.ShowColor(false));
  QCOMPARE(initial, QColor(Qt::red));
  QCOMPARE(dialog.Color(), 0x302010);

  OnNextModal<QColorDialog>([](QColorDialog* colour_dialog) { colour_dialog->reject(); });
  QVERIFY(!dialog.ShowColor(true));
  QCOMPARE(dialog.Color(), 0x302010);
}

void QtDialogSystemTest::fontDialogStartsOnFontWithoutEffects() {
  gui::QtDialogSystem system;
  CCommonDialogs dialog(system);
  dialog.SetFontName("Liberation Serif");
  dialog.SetFontSize(12);
  dialog.SetFontBold(true);
  dialog.SetFontUnderline(true);
  QFont initial;
  bool effects_visible = true;
  OnNextModal<QFontDialog>([&](QFontDialog* font_dialog) {
    initial = font_dialog->currentFont();
    effects_visible = false;
    for (QGroupBox* group : font_dialog->findChildren<QGroupBox*>()) {
      if (!group->findChildren<QCheckBox*>().isEmpty() && group->isVisible()) effects_visible = true;
    }
    QFont chosen("Liberation Sans");
    chosen.setPointSize(14);
    chosen.setItalic(true);
    font_dialog->setCurrentFont(chosen);
    font_dialog->accept();
  });
  QVERIFY(dialog.ShowFont());
  QCOMPARE(initial.family(), QString("Liberation Serif"));
  QCOMPARE(qRound(initial.pointSizeF()), 12);
  QVERIFY(initial.bold());
  QVERIFY(!effects_visible);

  QCOMPARE(dialog.FontName(), std::string("Liberation Sans"));
  QCOMPARE(dialog.FontSize(), std::int16_t{14});
  QVERIFY(dialog.FontItalic());
  QVERIFY(!dialog.FontBold());
  QVERIFY(dialog.FontUnderline());  // not the dialog's to change
}

QTEST_MAIN(QtDialogSystemTest)
#include "tst_qt_dialog_system.moc"
