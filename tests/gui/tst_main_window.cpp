// form1: its geometry and controls, choice lists, focus order, menu tree and
// wiring, the small commands, and start-up and shut-down with the saved lists.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QWindow>
#include <QtTest>
#include <fstream>

#include "form_controls.h"
#include "gui/about_box.h"
#include "gui/form1.h"
#include "gui/hourglass.h"
#include "gui/program_title.h"
#include "gui/saved_lists.h"
#include "gui/setting_dialog.h"
#include "listing_fixtures.h"
#include "test_doubles.h"

using dravella::testing::Click;
using dravella::testing::Ui;
using dravella::gui::Form1;
using dravella::testing::ShellRequest;
using dravella::testing::TestServices;
namespace gui = dravella::gui;

namespace {

// A window whose click operations only note that they ran, so the wiring of
// every button and menu item can be seen.
class RecordingForm1 : public Form1 {
 public:
  using Form1::Form1;
  QStringList ran;

  void Command1Click() override { ran << "Command1Click"; }
  void Command5Click() override { ran << "Command5Click"; }
  void Command2Click() override { ran << "Command2Click"; }
  void Command3Click() override { ran << "Command3Click"; }
  void Command4Click() override { ran << "Command4Click"; }
  void Command6Click() override { ran << "Command6Click"; }
  void Command7Click() override { ran << "Command7Click"; }
  void Command8Click() override { ran << "Command8Click"; }
  void Command9Click() override { ran << "Command9Click"; }
  void Command10Click() override { ran << "Command10Click"; }
  void Command11Click() override { ran << "Command11Click"; }
  void RemoveAllClick() override { ran << "RemoveAllClick"; }
  void RemoveoutputClick() override { ran << "RemoveoutputClick"; }
  void RemoveAllOutputClick() override { ran << "RemoveAllOutputClick"; }
  void SettingsClick() override { ran << "SettingsClick"; }
  void AboutClick() override { ran << "AboutClick"; }
  void ListView1ItemClick() override { ran << "ListView1ItemClick"; }
  void ListView2ItemClick() override { ran << "ListView2ItemClick"; }
};

QString CaptionOf(QWidget* widget) {
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  if (auto* list = qobject_cast<QTreeWidget*>(widget)) return list->headerItem()->text(0);
  if (auto* combo = qobject_cast<QComboBox*>(widget)) return combo->currentText();
  return QString();
}

QStringList EntriesOf(const QComboBox* combo) {
  QStringList entries;
  for (int i = 0; i < combo->count(); ++i) entries << combo->itemText(i);
  return entries;
}

QStringList EntriesOf(const QTreeWidget* list) {
  QStringList entries;
  for (int i = 0; i < list->topLevelItemCount(); ++i) entries << list->topLevelItem(i)->text(0);
  return entries;
}

std::string FileText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs check on the modal dialog that opens next, then closes it.
void OnNextModal(std::function<void(QWidget*)> check) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, [poll, check] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) return;
    poll->stop();
    poll->deleteLater();
    check(modal);
    modal->close();
  });
  poll->start(10);
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void windowIsFixedWithMinimizeOnly();
  void controls_data();
  void controls();
  void fonts_data();
  void fonts();
  void listColumnsAndTickBoxes();
  void choiceListsStartOnFirstEntry();
  void focusOrderAndInitialFocus();
  void menuTree();
  void commandsRunTheirOperations_data();
  void commandsRunTheirOperations();
  void iconsAreDrawn();
  void helpAndHomePageGoThroughTheShellSilently();
  void settingsAndAboutAreModal();
  void startupRestoresListsWithIcons();
  void exitAndCloseBoxSaveAlike_data();
  void exitAndCloseBoxSaveAlike();
  void settingsOffKeepsLastSavedList();
  void hourglassIsTheWindowsOwnPointer();
  void messageBoxesStandOverTheWindowInPlainText_data();
  void messageBoxesStandOverTheWindowInPlainText();
  void controlsAreNamedForAssistiveTools();
};

void MainWindowTest::windowIsFixedWithMinimizeOnly() {
  TestServices stand_ins;
  Form1 window(stand_ins.Services());
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));

  QCOMPARE(window.objectName(), QString("form1"));
  QCOMPARE(window.windowTitle(), QString("Dravella"));
  QCOMPARE(window.centralWidget()->size(), QSize(592, 540));
  QCOMPARE(window.centralWidget()->geometry().top(), window.menuBar()->geometry().bottom() + 1);
  QCOMPARE(window.minimumSize(), window.maximumSize());
  QCOMPARE(window.size(), window.minimumSize());
  const Qt::WindowFlags flags = window.windowFlags();
  QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
  QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
  QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
  QVERIFY(!window.windowIcon().isNull());
  QVERIFY(window.windowIcon().availableSizes().contains(QSize(48, 48)));
}

void MainWindowTest::controls_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("caption");
  QTest::addColumn<int>("x");
  QTest::addColumn<int>("y");
  QTest::addColumn<int>("w");
  QTest::addColumn<int>("h");
  // Twips divided by 15, to the nearest pixel.
  auto row = [](const char* name, const char* caption, int x, int y, int w, int h) {
    QTest::newRow(name) << QString(name) << QString(caption) << x << y << w << h;
  };
  row("Command1", "Add Excel", 8, 0, 81, 65);
  row("Command5", "Add Folder", 96, 0, 81, 65);
  row("Command2", "Remove File", 184, 0, 89, 65);
  row("Command6", "Convert", 288, 0, 73, 65);
  row("Command8", "Help", 368, 0, 65, 65);
  row("Command7", "HomePage", 440, 0, 73, 65);
  row("Command9", "Exit", 520, 0, 65, 65);
  row("ListView1", "Please Select the Excel File or Folder to Convert", 8, 72, 545, 177);
  row("Command3", "", 560, 96, 25, 41);
  row("Command4", "", 560, 152, 25, 41);
  row("Label3", "Format:", 8, 256, 41, 17);
  row("Combo2", "DBF4(dBASE IV)", 56, 256, 121, 22);
  row("Label2", "Name:", 184, 256, 33, 17);
  row("Combo1", "DBF Filename will be based on sheet name", 224, 256, 329, 22);
  row("ListView2", "WorkBooks", 8, 280, 273, 185);
  row("ListView3", "WorkSheets", 288, 280, 265, 185);
  row("Label1", "", 8, 472, 569, 17);
  row("Label7", "Select  output directory:", 8, 496, 129, 17);
  row("Combo5", "", 144, 496, 305, 22);
  row("Command10", "Browse", 456, 496, 65, 22);
  row("Command11", "View", 528, 496, 57, 22);
  row("ProgressBar1", "", 8, 520, 577, 17);
}

void MainWindowTest::controls() {
  QFETCH(QString, name);
  QFETCH(QString, caption);
  QFETCH(int, x);
  QFETCH(int, y);
  QFETCH(int, w);
  QFETCH(int, h);
  TestServices stand_ins;
  Form1 window(stand_ins.Services());
  auto* control = window.findChild<QWidget*>(name);
  QVERIFY2(control != nullptr, qPrintable(name));
  QCOMPARE(control->parentWidget(), window.centralWidget());
  QCOMPARE(CaptionOf(control), caption);
  QCOMPARE(control->geometry(), QRect(x, y, w, h));
  QVERIFY(control->isEnabled());
}

void MainWindowTest::fonts_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<qreal>("points");
  for (const char* name : {"Command1", "Command5", "Command2", "Command6", "Command8", "Command7",
                           "Command9", "Command3", "Command4", "Command10", "Command11", "Label1",
                           "Label7"}) {
    QTest::newRow(name) << QString(name) << 9.0;
  }
  for (const char* name : {"Label2", "Label3", "Combo1", "Combo2", "Combo5", "ListView1",
                           "ListView2", "ListView3"}) {
    QTest::newRow(name) << QString(name) << 8.4;
  }
}

void MainWindowTest::fonts() {
  QFETCH(QString, name);
  QFETCH(qreal, points);
  TestServices stand_ins;
  Form1 window(stand_ins.Services());
  auto* control = window.findChild<QWidget*>(name);
  QVERIFY(control != nullptr);
  QCOMPARE(control->font().pointSizeF(), points);
  QCOMPARE(control->font().families().value(0), QString("Arial"));
  // Where Arial itself is missing, its metric twin is what gets drawn.
  const QString drawn = QFontInfo(control->font()).family();
  QVERIFY2(drawn == "Arial" || drawn == "Liberation Sans", qPrintable(drawn));
}

void MainWindowTest::listColumnsAndTickBoxes() {
  TestServices stand_ins;
  Form1 window(stand_ins.Services());
  const struct {
    QTreeWidget* list;
    int width;
  } lists[] = {{Ui(window).ListView1, 517}, {Ui(window).ListView2, 242}, {Ui(window).ListView3, 240}};
  for (const auto& [list, width] : lists) {
    QCOMPARE(list->columnCount(), 1);
    QCOMPARE(list->columnWidth(0), width);
    QVERIFY(!list->rootIsDecorated());
    QCOMPARE(list->headerItem()->textAlignment(0) & Qt::AlignHorizontal_Mask, int(Qt::AlignLeft));
    QCOMPARE(list->topLevelItemCount(), 0);
  }
  QCOMPARE(Ui(window).ListView1->iconSize(), QSize(16, 16));
  QCOMPARE(Ui(window).ImageList1->objectName(), QString("ImageList1"));
  QCOMPARE(Ui(window).ImageList1->Count(), 3);
  // Only worksheet labels are edited in place.
  QCOMPARE(Ui(window).ListView1->editTriggers(), QAbstractItemView::NoEditTriggers);
  QCOMPARE(Ui(window).ListView2->editTriggers(), QAbstractItemView::NoEditTriggers);
  QVERIFY(Ui(window).ListView3->editTriggers().testFlag(QAbstractItemView::SelectedClicked));
  QCOMPARE(window.Listing().ShownWorkbook(), 0);
  QCOMPARE(Ui(window).ProgressBar1->value(), 0);

  // Once a workbook is listed: inputs carry no tick box, workbooks and
  // worksheets one each, ticked; only worksheets are editable.
  dravella::testing::ListingHarness h;
  h.AddExcel(h.Workbook("Book.xls", {"North", "South"}));
  const auto ui = Ui(*h.window);
  const struct {
    QTreeWidget* list;
    bool ticked;
    bool editable;
  } rows[] = {{ui.ListView1, false, false}, {ui.ListView2, true, false}, {ui.ListView3, true, true}};
  for (const auto& [list, ticked, editable] : rows) {
    QVERIFY(list->topLevelItemCount() > 0);
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
      const QTreeWidgetItem* item = list->topLevelItem(i);
      // A tick box is drawn exactly where the entry holds a check state.
      QCOMPARE(item->data(0, Qt::CheckStateRole).isValid(), ticked);
      if (ticked) QCOMPARE(item->checkState(0), Qt::Checked);
      QCOMPARE(item->flags().testFlag(Qt::ItemIsEditable), editable);
    }
  }
}

void MainWindowTest::choiceListsStartOnFirstEntry() {
  TestServices stand_ins;
  Form1 window(stand_ins.Services());
  QCOMPARE(EntriesOf(Ui(window).Combo1),
           (QStringList{"DBF Filename will be based on sheet name",
                        "DBF Filename will be based on workbook name and sheet name ",
                        "DBF Filename will be 1.dbf,2.dbf,3.dbf,4.dbf,5.dbf...."}));
  QCOMPARE(Ui(window).Combo1->currentIndex(), 0);
  QCOMPARE(EntriesOf(Ui(window).Combo2),
           (QStringList{"DBF4(dBASE IV)", "DBF3(dBASE III)", "DBF2(dBASE II)"}));
  QCOMPARE(Ui(window).Combo2->currentIndex(), 0);
  QVERIFY(!Ui(window).Combo1->isEditable());
  QVERIFY(!Ui(window).Combo2->isEditable());
  // No saved output directory: empty, nothing selected, but typing is allowed.
  QCOMPARE(Ui(window).Combo5->count(), 0);
  QCOMPARE(Ui(window).Combo5->currentIndex(), -1);
  QCOMPARE(Ui(window).Combo5->currentText(), QString());
  QVERIFY(Ui(window).Combo5->isEditable());
  QCOMPARE(Ui(window).Combo5->insertPolicy(), QComboBox::NoInsert);
}

void MainWindowTest::focusOrderAndInitialFocus() {
  TestServices stand_ins;
  Form1 window(stand_ins.Services());
  const QList<QWidget*> expected = {
      Ui(window).Command1, Ui(window).Command5, Ui(window).Command2,  Ui(window).Command6, Ui(window).Command8,
      Ui(window).Command7, Ui(window).Command9, Ui(window).ListView1, Ui(window).Combo1,   Ui(window).ListView2,
      Ui(window).ListView3, Ui(window).Command3, Ui(window).Command4, Ui(window).Combo2,  Ui(window).Combo5,
      Ui(window).Command10, Ui(window).Command11};
  QList<QWidget*> order;
  QWidget* widget = Ui(window).Command1;
  do {
    if (expected.contains(widget) && !order.contains(widget)) order << widget;
    widget = widget->nextInFocusChain();
  } while (widget != Ui(window).Command1);
  QCOMPARE(order, expected);
  for (QWidget* label : {static_cast<QWidget*>(Ui(window).Label1), static_cast<QWidget*>(Ui(window).Label2),
                         static_cast<QWidget*>(Ui(window).Label3), static_cast<QWidget*>(Ui(window).Label7),
                         static_cast<QWidget*>(Ui(window).ProgressBar1)}) {
    QCOMPARE(label->focusPolicy(), Qt::NoFocus);
  }

  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QCOMPARE(window.focusWidget(), Ui(window).Command1);
  // Like Qt's own tests: where the platform cannot activate windows, the
  // application-wide focus is not checked.
  window.activateWindow();
  if (QTest::qWaitForWindowActive(&window)) QTRY_COMPARE(QApplication::focusWidget(), Ui(window).Command1);
}

void MainWindowTest::menuTree() {
  TestServices stand_ins;
  Form1 window(stand_ins.Services());
  const QList<QPair<QString, QString>> menus = {
      {"EE", "File"}, {"FF", "Edit"}, {"Actions", "Actions"}, {"Help", "Help"}};
  const QList<QStringList> items = {
      {"AddExcel", "Add Excel", "AddFolder", "Add Folder"},
      {"RemoveItem", "Remove Item", "RemoveAll", "Remove All Items", "Removeoutput",
       "Remove Current Output Directory", "RemoveAllOutput", "Remove All Output Directory"},
      {"Separate", "Convert", "Settings", "Settings"},
      {"Help1", "Help", "HomePage", "HomePage", "About", "About"}};

  const QList<QAction*> bar = window.menuBar()->actions();
  QCOMPARE(bar.size(), menus.size());
  for (int m = 0; m < menus.size(); ++m) {
    QMenu* menu = bar[m]->menu();
    QVERIFY(menu != nullptr);
    QCOMPARE(menu->objectName(), menus[m].first);
    QCOMPARE(menu->title(), menus[m].second);
    const QList<QAction*> actions = menu->actions();
    QCOMPARE(actions.size(), items[m].size() / 2);
    for (int i = 0; i < actions.size(); ++i) {
      QCOMPARE(actions[i]->objectName(), items[m][2 * i]);
      QCOMPARE(actions[i]->text(), items[m][2 * i + 1]);
      QVERIFY(actions[i]->shortcut().isEmpty());
      QVERIFY(actions[i]->isEnabled());
    }
  }
}

void MainWindowTest::commandsRunTheirOperations_data() {
  QTest::addColumn<QString>("trigger");  // a button's or a menu item's name
  QTest::addColumn<QString>("operation");
  const char* const pairs[][2] = {
      {"Command1", "Command1Click"},   {"Command5", "Command5Click"},
      {"Command2", "Command2Click"},   {"Command3", "Command3Click"},
      {"Command4", "Command4Click"},   {"Command6", "Command6Click"},
      {"Command7", "Command7Click"},   {"Command8", "Command8Click"},
      {"Command9", "Command9Click"},   {"Command10", "Command10Click"},
      {"Command11", "Command11Click"}, {"AddExcel", "Command1Click"},
      {"AddFolder", "Command5Click"},  {"RemoveItem", "Command2Click"},
      {"RemoveAll", "RemoveAllClick"}, {"Removeoutput", "RemoveoutputClick"},
      {"RemoveAllOutput", "RemoveAllOutputClick"},
      {"Separate", "Command6Click"},   {"Settings", "SettingsClick"},
      {"Help1", "Command8Click"},      {"HomePage", "Command7Click"},
      {"About", "AboutClick"}};
  for (const auto& [trigger, operation] : pairs) {
    QTest::newRow(trigger) << QString(trigger) << QString(operation);
  }
}

void MainWindowTest::commandsRunTheirOperations() {
  QFETCH(QString, trigger);
  QFETCH(QString, operation);
  TestServices stand_ins;
  RecordingForm1 window(stand_ins.Services());
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  if (auto* button = window.findChild<QPushButton*>(trigger)) {
    QTest::mouseClick(button, Qt::LeftButton);
  } else {
    auto* item = window.findChild<QAction*>(trigger);
    QVERIFY(item != nullptr);
    item->trigger();
  }
  QCOMPARE(window.ran, QStringList{operation});
}

void MainWindowTest::iconsAreDrawn() {
  TestServices stand_ins;
  Form1 window(stand_ins.Services());
  const struct {
    QPushButton* button;
    int size;
  } buttons[] = {{Ui(window).Command1, 48}, {Ui(window).Command5, 48}, {Ui(window).Command2, 32},
                 {Ui(window).Command6, 48}, {Ui(window).Command8, 32}, {Ui(window).Command7, 48},
                 {Ui(window).Command9, 32}, {Ui(window).Command3, 32}, {Ui(window).Command4, 32}};
  for (const auto& [button, size] : buttons) {
    QCOMPARE(button->iconSize(), QSize(size, size));
    const QImage picture = button->icon().pixmap(size, size).toImage();
    QCOMPARE(picture.size(), QSize(size, size));
    QVERIFY2(picture.pixelColor(size / 2, size / 2).alpha() > 0, qPrintable(button->objectName()));
  }
  for (int index = 1; index <= 3; ++index) {
    const QImage image = Ui(window).ImageList1->Image(index).pixmap(16, 16).toImage();
    QCOMPARE(image.size(), QSize(16, 16));
  }
  QVERIFY(Ui(window).ImageList1->Image(0).isNull());
  QVERIFY(Ui(window).ImageList1->Image(4).isNull());
}

void MainWindowTest::helpAndHomePageGoThroughTheShellSilently() {
  // An installed layout: the program in bin/, its guide under share/doc/.
  TestServices stand_ins;
  const std::filesystem::path root = stand_ins.ProgramFolder();
  const std::filesystem::path guide = root / "share" / "doc" / "dravella" / "index.html";
  std::filesystem::create_directories(root / "bin");
  std::filesystem::create_directories(guide.parent_path());
  std::ofstream(guide) << "<html></html>";
  stand_ins.shell.answer = false;  // no browser: the shell fails, and we say nothing
  gui::WindowServices services = stand_ins.Services();
  services.program_folder = root / "bin";
  {
    Form1 window(services);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mouseClick(Ui(window).Command8, Qt::LeftButton);
    Ui(window).Help1->trigger();
    QTest::mouseClick(Ui(window).Command7, Qt::LeftButton);
    QCOMPARE(stand_ins.shell.requests,
             (std::vector<ShellRequest>{{guide.string(), 5}, {guide.string(), 5},
                                        {gui::kMakerHomePage, 5}}));
    QVERIFY(stand_ins.messages.shown.empty());
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QVERIFY(window.isVisible());
  }

  // Without the guide Help asks nothing of the shell and shows nothing.
  std::filesystem::remove(guide);
  stand_ins.shell.requests.clear();
  Form1 window(services);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QTest::mouseClick(Ui(window).Command8, Qt::LeftButton);
  Ui(window).Help1->trigger();
  QVERIFY(stand_ins.shell.requests.empty());
  QVERIFY(stand_ins.messages.shown.empty());
  QVERIFY(QApplication::activeModalWidget() == nullptr);
  QVERIFY(window.isVisible());
}

void MainWindowTest::settingsAndAboutAreModal() {
  TestServices stand_ins;
  Form1 window(stand_ins.Services());
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));

  QString shown;
  bool owned = true;
  OnNextModal([&](QWidget* modal) {
    shown = modal->objectName();
    owned = modal->parentWidget() != nullptr;
  });
  Ui(window).Settings->trigger();
  QCOMPARE(shown, QString("Setting"));
  QVERIFY(!owned);

  OnNextModal([&](QWidget* modal) {
    shown = modal->objectName();
    owned = modal->parentWidget() != nullptr;
  });
  Ui(window).About->trigger();
  QCOMPARE(shown, QString("Dialog1"));
  QVERIFY(!owned);
}

void MainWindowTest::startupRestoresListsWithIcons() {
  TestServices stand_ins;
  const std::filesystem::path samples = stand_ins.ProgramFolder();
  const std::string workbook = (samples / "Book1.xls").string();
  const std::string folder = (samples / "inputs").string();
  const std::string missing = (samples / "gone.xls").string();
  std::ofstream(workbook) << "x";
  std::filesystem::create_directory(folder);
  gui::WriteLines(stand_ins.SettingsFolder() / gui::kInputListFile,
                  {workbook, folder, missing, workbook});
  gui::WriteLines(stand_ins.SettingsFolder() / gui::kOutputListFile, {"/out/b", "/out/a", "/out/b"});

  Form1 window(stand_ins.Services());
  QCOMPARE(EntriesOf(Ui(window).ListView1),
           (QStringList{QString::fromStdString(workbook), QString::fromStdString(folder),
                        QString::fromStdString(missing), QString::fromStdString(workbook)}));
  const int images[] = {1, 2, 3, 1};
  for (int i = 0; i < 4; ++i) {
    QCOMPARE(Ui(window).ListView1->topLevelItem(i)->icon(0).cacheKey(),
             Ui(window).ImageList1->Image(images[i]).cacheKey());
  }
  QCOMPARE(EntriesOf(Ui(window).Combo5), (QStringList{"/out/b", "/out/a", "/out/b"}));
  QCOMPARE(Ui(window).Combo5->currentIndex(), 0);
  QCOMPARE(Ui(window).Combo5->currentText(), QString("/out/b"));
  // Nothing is listed from the inputs at start-up.
  QCOMPARE(Ui(window).ListView2->topLevelItemCount(), 0);
  QCOMPARE(Ui(window).ListView3->topLevelItemCount(), 0);
  QVERIFY(stand_ins.messages.shown.empty());
}

void MainWindowTest::exitAndCloseBoxSaveAlike_data() {
  QTest::addColumn<bool>("by_close_box");
  QTest::newRow("Exit") << false;
  QTest::newRow("close box") << true;
}

void MainWindowTest::exitAndCloseBoxSaveAlike() {
  QFETCH(bool, by_close_box);
  TestServices stand_ins;
  const std::filesystem::path folder = stand_ins.SettingsFolder();
  gui::WriteSettings(folder, true, true);
  {
    Form1 window(stand_ins.Services());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    new QTreeWidgetItem(Ui(window).ListView1, {"/data/One.xls"});
    new QTreeWidgetItem(Ui(window).ListView1, {"/data/folder"});
    Ui(window).Combo5->addItem("/out/first");
    Ui(window).Combo5->addItem("/out/second");
    // A typed directory that is in no entry is not saved.
    Ui(window).Combo5->setEditText("/typed/only");
    if (by_close_box) {
      QCloseEvent close_box;  // what the window manager's close button sends
      QApplication::sendEvent(window.windowHandle(), &close_box);
    } else {
      QTest::mouseClick(Ui(window).Command9, Qt::LeftButton);
    }
    QTRY_VERIFY(!window.isVisible());
  }
  QCOMPARE(FileText(folder / gui::kInputListFile), std::string("/data/One.xls\r\n/data/folder\r\n"));
  QCOMPARE(FileText(folder / gui::kOutputListFile), std::string("/out/first\r\n/out/second\r\n"));
  QVERIFY(stand_ins.messages.shown.empty());
}

void MainWindowTest::settingsOffKeepsLastSavedList() {
  TestServices stand_ins;
  const std::filesystem::path folder = stand_ins.SettingsFolder();
  gui::WriteLines(folder / gui::kInputListFile, {"/saved/last.xls"});
  gui::WriteLines(folder / gui::kOutputListFile, {"/saved/out"});
  {
    Form1 window(stand_ins.Services());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // Input list on, output list off, chosen in the Setting dialog during the run.
    OnNextModal([](QWidget* modal) {
      auto* setting = qobject_cast<gui::SettingDialog*>(modal);
      setting->Check1->setChecked(true);
      setting->Check2->setChecked(false);
      setting->OKButton->click();
    });
    Ui(window).Settings->trigger();
    Ui(window).ListView1->clear();
    Ui(window).Combo5->clear();
    window.close();
  }
  QCOMPARE(FileText(folder / gui::kInputListFile), std::string());
  QCOMPARE(FileText(folder / gui::kOutputListFile), std::string("/saved/out\r\n"));

  Form1 next_run(stand_ins.Services());
  QCOMPARE(Ui(next_run).ListView1->topLevelItemCount(), 0);
  QCOMPARE(EntriesOf(Ui(next_run).Combo5), QStringList{"/saved/out"});
}

void MainWindowTest::hourglassIsTheWindowsOwnPointer() {
  // A listing that fails as it starts the application: the busy pointer is
  // the window's own while it runs, and the default again after the failure.
  dravella::testing::ListingHarness h;
  const std::string book = h.Workbook("Book.xls");
  Qt::CursorShape during = Qt::ArrowCursor;
  const QCursor* override_cursor = nullptr;
  h.applications.record.fail_create = true;
  h.applications.record.on_create = [&] {
    during = h.window->cursor().shape();
    override_cursor = QApplication::overrideCursor();
  };
  h.AddExcel(book);
  QCOMPARE(during, Qt::WaitCursor);
  QVERIFY(override_cursor == nullptr);
  QCOMPARE(h.stand_ins.messages.shown.size(), 2u);
  QVERIFY(h.PointerIsDefault());
}

void MainWindowTest::messageBoxesStandOverTheWindowInPlainText_data() {
  QTest::addColumn<int>("icon");
  QTest::addColumn<int>("shown_icon");
  QTest::newRow("none") << int(gui::MessageIcon::kNone) << int(QMessageBox::NoIcon);
  QTest::newRow("information") << int(gui::MessageIcon::kInformation) << int(QMessageBox::Information);
  QTest::newRow("critical") << int(gui::MessageIcon::kCritical) << int(QMessageBox::Critical);
}

void MainWindowTest::messageBoxesStandOverTheWindowInPlainText() {
  QFETCH(int, icon);
  QFETCH(int, shown_icon);
  // The boxes production hands the window, which then stands them over itself.
  TestServices stand_ins;
  gui::QtMessageBoxes messages;
  gui::WindowServices services = stand_ins.Services();
  Form1 window(gui::WindowServices{messages, services.shell, services.dialogs,
                                   services.program_folder, services.settings_folder});
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  // A name with markup is shown as it is written.
  const QString named = "Convert <b>Q</b> file failed!";
  Qt::TextFormat label_format = Qt::RichText;

  QString title, text;
  int seen_icon = -1;
  QMessageBox::StandardButtons buttons;
  QWidget* parent = nullptr;
  OnNextModal([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    QVERIFY(box != nullptr);
    title = box->windowTitle();
    text = box->text();
    seen_icon = int(box->icon());
    buttons = box->standardButtons();
    parent = box->parentWidget();
    if (auto* label = box->findChild<QLabel*>("qt_msgbox_label")) label_format = label->textFormat();
  });
  messages.Show(named.toStdString(), static_cast<gui::MessageIcon>(icon));
  QCOMPARE(title, QString("Dravella"));
  QCOMPARE(text, named);
  QCOMPARE(label_format, Qt::PlainText);
  QCOMPARE(seen_icon, shown_icon);
  QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  QCOMPARE(parent, &window);
}

void MainWindowTest::controlsAreNamedForAssistiveTools() {
  TestServices stand_ins;
  Form1 window(stand_ins.Services());
  const auto ui = Ui(window);
  QCOMPARE(ui.Command3->accessibleName(), QString("Move up"));
  QCOMPARE(ui.Command4->accessibleName(), QString("Move down"));
  for (QWidget* control : window.findChildren<QWidget*>()) {
    if (control->focusPolicy() == Qt::NoFocus || control->parentWidget() != window.centralWidget()) continue;
    QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));
  }
  QCOMPARE(ui.Label3->buddy(), static_cast<QWidget*>(ui.Combo2));
  QCOMPARE(ui.Label2->buddy(), static_cast<QWidget*>(ui.Combo1));
  QCOMPARE(ui.Label7->buddy(), static_cast<QWidget*>(ui.Combo5));
  // Names in the status line and the labels are never markup.
  for (QLabel* label : window.findChildren<QLabel*>()) {
    QVERIFY2(label->textFormat() == Qt::PlainText, qPrintable(label->objectName()));
  }
}

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
