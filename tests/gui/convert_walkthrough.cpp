// A user's way through the window, for a real X server (xvfb-run): add a
// folder of workbooks, pick workbooks, untick one worksheet and rename
// another, choose dBASE IV and names after workbook and sheet, type a new
// output folder and press Convert. Prints what was written and checks it.
//
//   convert_walkthrough WORKBOOK_FOLDER [OUTPUT_FOLDER [SCREENSHOT.png]]
//
// The folder dialog answers with WORKBOOK_FOLDER; message boxes and the
// shell are recorded, not shown. WORKBOOK_FOLDER must hold sales.xls
// (Orders, Regions), inventory.xls (Items, Empty) and staff.xls (Staff), as
// examples/ does. Exit status 0 when exactly the expected tables were written.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QScreen>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

#include "gui/form1.h"
#include "test_doubles.h"
#include "form_controls.h"

namespace {

namespace fs = std::filesystem;
using dravella::testing::Ui;
using dravella::gui::Form1;

QTreeWidgetItem* Find(QTreeWidget* list, const QString& text) {
  const auto found = list->findItems(text, Qt::MatchExactly);
  return found.isEmpty() ? nullptr : found.first();
}

// Clicks an entry as the user does, in the middle of its text.
bool ClickEntry(QTreeWidget* list, const QString& text) {
  QTreeWidgetItem* item = Find(list, text);
  if (item == nullptr) {
    std::fprintf(stderr, "no entry %s in %s\n", qPrintable(text), qPrintable(list->objectName()));
    return false;
  }
  const QRect rect = list->visualItemRect(item);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
  return list->currentItem() == item;
}

void Untick(QTreeWidget* list, const QString& text) {
  ClickEntry(list, text);
  QTest::keyClick(list, Qt::Key_Space);
}

void Rename(QTreeWidget* list, const QString& text, const QString& new_text) {
  ClickEntry(list, text);
  QTest::keyClick(list, Qt::Key_F2);
  auto* editor = list->findChild<QLineEdit*>();
  if (editor == nullptr) {
    std::fprintf(stderr, "no label editor in %s\n", qPrintable(list->objectName()));
    return;
  }
  QTest::keySequence(editor, QKeySequence::SelectAll);
  QTest::keyClicks(editor, new_text);
  QTest::keyClick(editor, Qt::Key_Return);
}

std::set<std::string> FilesBelow(const fs::path& folder) {
  std::set<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    files.insert(fs::relative(entry.path(), folder).string() + (entry.is_directory() ? "/" : ""));
  }
  return files;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: convert_walkthrough WORKBOOK_FOLDER [OUTPUT_FOLDER [SCREENSHOT.png]]\n");
    return 2;
  }
  const std::string workbooks = fs::absolute(argv[1]).string();
  QTemporaryDir scratch;
  const fs::path output = argc > 2 ? fs::absolute(argv[2]) : fs::path(scratch.path().toStdString()) / "converted";

  dravella::testing::TestServices services;
  services.dialogs.folder_answers.push_back(workbooks);
  Form1 form(services.Services());
  form.show();
  if (!QTest::qWaitForWindowExposed(&form)) return 3;
  form.activateWindow();
  if (!QTest::qWaitForWindowActive(&form)) std::fprintf(stderr, "the window is not active\n");

  QTest::mouseClick(Ui(form).Command5, Qt::LeftButton);  // Add Folder
  bool ok = ClickEntry(Ui(form).ListView2, "sales.xls");
  Untick(Ui(form).ListView3, "Regions");
  ok = ClickEntry(Ui(form).ListView2, "staff.xls") && ok;
  Rename(Ui(form).ListView3, "Staff", "People");
  // dBASE IV (already first: go down and back up), then names after workbook and sheet.
  QTest::keyClick(Ui(form).Combo2, Qt::Key_Down);
  QTest::keyClick(Ui(form).Combo2, Qt::Key_Up);
  QTest::keyClick(Ui(form).Combo1, Qt::Key_Down);
  QTest::mouseClick(Ui(form).Combo5->lineEdit(), Qt::LeftButton);
  QTest::keyClicks(Ui(form).Combo5->lineEdit(), QString::fromStdString(output.string()));
  QTest::mouseClick(Ui(form).Command6, Qt::LeftButton);  // Convert
  QTest::qWait(200);

  if (argc > 3) {
    // The whole screen, as `import -window root` takes it.
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
    if (!shot.save(QString::fromLocal8Bit(argv[3]))) std::fprintf(stderr, "cannot write %s\n", argv[3]);
  }

  for (const auto& message : services.messages.shown) {
    std::fprintf(stderr, "message: %s\n", message.text.c_str());
  }
  const std::set<std::string> expected = {
      "inventory/", "inventory/inventory_Items.dbf",  // Empty gives no table
      "inventory/inventory_Items.dbt",                // the long note: a memo
      "sales/",     "sales/sales_Orders.dbf",         // Regions unticked
      "staff/",     "staff/staff_People.dbf",         // Staff renamed
  };
  const std::set<std::string> written = fs::exists(output) ? FilesBelow(output) : std::set<std::string>{};
  for (const std::string& file : written) std::printf("%s\n", (output / file).c_str());
  ok = ok && services.messages.shown.empty() && written == expected &&
       services.shell.requests.size() == 1 && services.shell.requests[0].target == output.string() + "/";
  std::printf("%s\n", ok ? "walkthrough: as expected" : "walkthrough: NOT as expected");
  return ok ? 0 : 1;
}
