// A user's way through the input list and the sheet browser, driven by mouse
// and keyboard events on a shown window (xvfb-run, or offscreen for the docs'
// picture): add the example folder, click workbooks, untick and rename
// worksheets, switch away and back, add a workbook, move it up, click the
// folder again, remove the workbook. Checks each step and says which failed.
//
//   listing_walkthrough EXAMPLES_FOLDER [--window PNG] [--hold MS]
//
// --window writes the window, filled, to PNG; --hold keeps it on screen that
// long at the same moment (for `import -window root`). Dialogs answer with
// the example folder and its inventory.xls; messages are recorded, not shown.
#include <QApplication>
#include <QLineEdit>
#include <QTreeWidget>
#include <QtTest>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "gui/form1.h"
#include "test_doubles.h"
#include "form_controls.h"

using dravella::testing::Ui;

namespace {

namespace fs = std::filesystem;

int failures = 0;

void Check(bool ok, const char* what) {
  std::printf("%s %s\n", ok ? "ok  " : "FAIL", what);
  if (!ok) ++failures;
}

QTreeWidgetItem* Find(QTreeWidget* list, const QString& text) {
  const auto found = list->findItems(text, Qt::MatchExactly);
  return found.isEmpty() ? nullptr : found.first();
}

// A click in the middle of an entry's text, as the user gives it.
bool Click(QTreeWidget* list, const QString& text) {
  QTreeWidgetItem* item = Find(list, text);
  if (item == nullptr) return false;
  list->scrollToItem(item);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
  return list->currentItem() == item;
}

QStringList Texts(const QTreeWidget* list) {
  QStringList texts;
  for (int i = 0; i < list->topLevelItemCount(); ++i) texts << list->topLevelItem(i)->text(0);
  return texts;
}

bool Untick(QTreeWidget* list, const QString& text) {
  if (!Click(list, text)) return false;
  QTest::keyClick(list, Qt::Key_Space);
  return Find(list, text)->checkState(0) == Qt::Unchecked;
}

bool Rename(QTreeWidget* list, const QString& text, const QString& new_text) {
  if (!Click(list, text)) return false;
  QTest::keyClick(list, Qt::Key_F2);
  // The editor of an earlier edit may linger until deleted; take the visible one.
  QLineEdit* editor = nullptr;
  for (QLineEdit* candidate : list->findChildren<QLineEdit*>()) {
    if (candidate->isVisible()) editor = candidate;
  }
  if (editor == nullptr) {
    std::fprintf(stderr, "no label editor\n");
    return false;
  }
  QTest::keySequence(editor, QKeySequence::SelectAll);
  QTest::keyClicks(editor, new_text);
  QTest::keyClick(editor, Qt::Key_Return);
  // The view takes the new label from the editor in a queued call.
  if (!QTest::qWaitFor([&] { return Find(list, new_text) != nullptr; }, 1000)) {
    std::fprintf(stderr, "labels after the edit: %s\n", qPrintable(Texts(list).join(", ")));
    return false;
  }
  return true;
}

QString Ticks(const QTreeWidget* list) {
  QString ticks;
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    ticks += list->topLevelItem(i)->checkState(0) == Qt::Checked ? '1' : '0';
  }
  return ticks;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: listing_walkthrough EXAMPLES_FOLDER [--window PNG] [--hold MS]\n");
    return 2;
  }
  const std::string examples = fs::absolute(argv[1]).lexically_normal().string();
  const std::string folder = examples.back() == '/' ? examples.substr(0, examples.size() - 1) : examples;
  QString window_png;
  int hold_ms = 0;
  for (int i = 2; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--window") == 0) window_png = QString::fromLocal8Bit(argv[i + 1]);
    if (std::strcmp(argv[i], "--hold") == 0) hold_ms = std::atoi(argv[i + 1]);
  }
  const QString workbook = QString::fromStdString(folder + "/inventory.xls");

  dravella::testing::TestServices services;
  services.dialogs.folder_answers.push_back(folder);
  services.dialogs.file_answers.push_back(workbook.toStdString());
  dravella::gui::Form1 form(services.Services());
  form.show();
  if (!QTest::qWaitForWindowExposed(&form)) return 3;
  form.activateWindow();
  if (!QTest::qWaitForWindowActive(&form)) std::fprintf(stderr, "the window is not active\n");

  QTest::mouseClick(Ui(form).Command5, Qt::LeftButton);  // Add Folder
  QStringList books = Texts(Ui(form).ListView2);
  books.sort();
  Check(books == QStringList({"inventory.xls", "sales.xls", "staff.xls"}) && Ticks(Ui(form).ListView2) == "111",
        "Add Folder lists the three examples, ticked");
  Check(Ui(form).ListView3->topLevelItemCount() > 0, "the first workbook's worksheets are listed");

  Check(Click(Ui(form).ListView2, "sales.xls") && Texts(Ui(form).ListView3) == QStringList({"Orders", "Regions"}),
        "a click on sales.xls lists Orders and Regions");
  Check(Untick(Ui(form).ListView3, "Regions"), "Space unticks Regions");
  Check(Rename(Ui(form).ListView3, "Orders", "Sales orders"), "F2 renames Orders");
  Check(Click(Ui(form).ListView2, "staff.xls") && Texts(Ui(form).ListView3) == QStringList{"Staff"},
        "a click on staff.xls lists Staff");
  Check(Click(Ui(form).ListView2, "sales.xls") &&
            Texts(Ui(form).ListView3) == QStringList({"Sales orders", "Regions"}) && Ticks(Ui(form).ListView3) == "10",
        "back on sales.xls: the new label and the untick are kept");

  QTest::mouseClick(Ui(form).Command1, Qt::LeftButton);  // Add Excel
  Check(Texts(Ui(form).ListView1) == QStringList({QString::fromStdString(folder), workbook}) &&
            Ui(form).ListView1->currentItem() == Ui(form).ListView1->topLevelItem(1),
        "Add Excel appends the workbook and selects it");
  Check(Texts(Ui(form).ListView2) == QStringList{"inventory.xls"} &&
            Texts(Ui(form).ListView3) == QStringList({"Items", "Empty"}),
        "the workbook list shows it, its worksheets listed");
  QTest::mouseClick(Ui(form).Command3, Qt::LeftButton);  // Up
  Check(Texts(Ui(form).ListView1) == QStringList({workbook, QString::fromStdString(folder)}) &&
            Ui(form).ListView1->currentItem() == Ui(form).ListView1->topLevelItem(0) &&
            Texts(Ui(form).ListView2) == QStringList{"inventory.xls"},
        "Up moves it first, selected, the other lists unchanged");
  QTest::mouseClick(Ui(form).Command3, Qt::LeftButton);  // Up on the first entry
  Check(Ui(form).ListView1->topLevelItem(0)->text(0) == workbook, "Up on the first entry changes nothing");

  Check(Click(Ui(form).ListView1, QString::fromStdString(folder)) && Ticks(Ui(form).ListView2) == "111",
        "a click on the folder lists its workbooks again");
  Check(Click(Ui(form).ListView2, "sales.xls") && Ticks(Ui(form).ListView3) == "11",
        "its choices were dropped: every worksheet ticked again");
  Untick(Ui(form).ListView3, "Regions");
  Rename(Ui(form).ListView3, "Orders", "Sales orders");
  QTest::qWait(50);

  if (!window_png.isEmpty()) Check(form.grab().save(window_png), "window picture written");
  if (hold_ms > 0) QTest::qWait(hold_ms);

  Click(Ui(form).ListView1, workbook);
  QTest::mouseClick(Ui(form).Command2, Qt::LeftButton);  // Remove File
  Check(Texts(Ui(form).ListView1) == QStringList{QString::fromStdString(folder)} &&
            Ui(form).ListView1->currentItem() == Ui(form).ListView1->topLevelItem(0) &&
            Ui(form).ListView2->topLevelItemCount() == 3,
        "Remove File selects the folder and lists it");
  QTest::mouseClick(Ui(form).Command2, Qt::LeftButton);
  Check(Ui(form).ListView1->topLevelItemCount() == 0 && Ui(form).ListView2->topLevelItemCount() == 0 &&
            Ui(form).ListView3->topLevelItemCount() == 0,
        "removing the last input empties the three lists");
  Check(services.messages.shown.empty(), "no message was shown");
  Check(form.cursor().shape() == Qt::ArrowCursor, "the pointer is the default one");

  std::printf("%s\n", failures == 0 ? "walkthrough: as expected" : "walkthrough: NOT as expected");
  return failures == 0 ? 0 : 1;
}
