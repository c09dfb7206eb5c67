// The Convert command on the window: the lists, choices and output folder as
// the user leaves them, the messages, the status line and progress bar
// painted during the run without handling input, and the rest state after.
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>

#include "gui/convert_command.h"
#include "gui/form1.h"
#include "gui/saved_lists.h"
#include "listing_fixtures.h"
#include "test_doubles.h"
#include "tests/support/xls_builder.h"
#include "form_controls.h"

using dravella::testing::Click;
using dravella::testing::ClickRow;
using dravella::testing::TextsOf;
using dravella::testing::Ui;
using dravella::gui::Form1;
using dravella::gui::MessageIcon;
using dravella::testing::ShellRequest;
using dravella::testing::TestServices;
using dravella::testing::WorkbookBuilder;
namespace fs = std::filesystem;

namespace {

using Files = std::set<std::string>;

// A text longer than a character field holds: dBASE III and IV keep it in a memo.
const std::string kLongText(300, 'L');

// A workbook of one small table per named sheet; "" gives an empty sheet.
// A sheet named "Totals" also holds kLongText.
void WriteBook(const fs::path& path, const std::vector<std::string>& sheets) {
  WorkbookBuilder book;
  for (const std::string& name : sheets) {
    auto& sheet = book.AddSheet(name.empty() ? "Blank" : name);
    if (name.empty()) continue;
    sheet.Text(0, 0, "Name").Text(0, 1, "Amount");
    for (uint16_t row = 1; row <= 3; ++row) sheet.Text(row, 0, name).Number(row, 1, row * 1.5);
    if (name == "Totals") sheet.Text(4, 0, kLongText);
  }
  book.WriteTo(path);
}

Files FilesBelow(const fs::path& folder) {
  Files files;
  if (!fs::exists(folder)) return files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    files.insert(fs::relative(entry.path(), folder).string() + (entry.is_directory() ? "/" : ""));
  }
  return files;
}

unsigned char FirstByte(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return static_cast<unsigned char>(in.get());
}

// Notes what the status line and the progress bar showed each time they were painted.
class PaintSpy : public QObject {
 public:
  QStringList status_paints;
  QList<int> progress_paints;
  QList<Qt::CursorShape> pointers;  // at each paint of the progress bar
  Form1* form = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      if (watched == Ui(*form).Label1) status_paints << Ui(*form).Label1->text();
      if (watched == Ui(*form).ProgressBar1) {
        progress_paints << Ui(*form).ProgressBar1->value();
        pointers << form->cursor().shape();
      }
    }
    return false;
  }
};

}  // namespace

class TestConvertCommand : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> tree_;
  std::unique_ptr<TestServices> services_;
  std::unique_ptr<Form1> form_;

  fs::path Tree() const { return tree_->path().toStdString(); }

  // Adds folder "in" with Add Folder and unticks workbook `unticked`.
  void ListInput(const std::string& unticked = "") {
    services_->dialogs.folder_answers.push_back((Tree() / "in").string());
    Click(Ui(*form_).Command5);
    if (!unticked.empty()) WorkbookRow(unticked)->setCheckState(0, Qt::Unchecked);
    // What listing the first workbook said is not the Convert's to check.
    services_->messages.shown.clear();
  }
  QTreeWidgetItem* WorkbookRow(const std::string& name) {
    const auto found = Ui(*form_).ListView2->findItems(QString::fromStdString(name), Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.first();
  }
  // Renames worksheet `row` of the list on screen as a user does: F2, the
  // new name, and no Enter.
  QLineEdit* StartRename(int row, const QString& name) {
    QTreeWidget* sheets = Ui(*form_).ListView3;
    sheets->setFocus();
    sheets->setCurrentItem(sheets->topLevelItem(row));
    QTest::keyClick(sheets, Qt::Key_F2);
    QLineEdit* editor = sheets->viewport()->findChild<QLineEdit*>();
    if (editor == nullptr) return nullptr;
    editor->selectAll();
    QTest::keyClicks(editor, name);
    return editor;
  }
  void ExpectRestState() {
    QCOMPARE(Ui(*form_).Label1->text(), QString());
    QCOMPARE(Ui(*form_).ProgressBar1->value(), 0);
    QCOMPARE(form_->cursor().shape(), Qt::ArrowCursor);
  }

 private slots:
  void init() {
    tree_ = std::make_unique<QTemporaryDir>();
    services_ = std::make_unique<TestServices>();
    form_ = std::make_unique<Form1>(services_->Services());
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    fs::create_directories(Tree() / "in");
    dravella::gui::ProgramOutputNaming().SheetCounter = 0;
  }
  void cleanup() {
    form_.reset();
    services_.reset();
    tree_.reset();
  }

  void convertsWithTheChoicesLeftInTheWindow_data() {
    QTest::addColumn<int>("naming");
    QTest::addColumn<int>("level");
    QTest::addColumn<Files>("expected");
    QTest::addColumn<std::string>("long_table");  // the table holding kLongText
    QTest::addColumn<int>("long_version");        // its version byte
    QTest::addColumn<int>("version");             // that of the others
    QTest::newRow("sheet names, dBASE IV")
        << 0 << 0
        << Files{"Sales/", "Sales/Sold.dbf", "Sales/Totals.dbf", "Sales/Totals.dbt", "Other/",
                 "Other/Data.dbf"}
        << std::string("Sales/Totals.dbf") << 0x8B << 0x03;
    QTest::newRow("book and sheet, dBASE III")
        << 1 << 1
        << Files{"Sales/", "Sales/Sales_Sold.dbf", "Sales/Sales_Totals.dbf", "Sales/Sales_Totals.dbt",
                 "Other/", "Other/Other_Data.dbf"}
        << std::string("Sales/Sales_Totals.dbf") << 0x83 << 0x03;
    // The empty worksheet uses up number 2 of Sales, the unticked one none;
    // Other starts at 1 again. dBASE II has no memo: the text is cut.
    QTest::newRow("numbered, dBASE II")
        << 2 << 2 << Files{"Sales/", "Sales/1.dbf", "Sales/3.dbf", "Other/", "Other/1.dbf"}
        << std::string("Sales/3.dbf") << 0x02 << 0x02;
  }
  void convertsWithTheChoicesLeftInTheWindow() {
    QFETCH(int, naming);
    QFETCH(int, level);
    QFETCH(Files, expected);
    QFETCH(std::string, long_table);
    QFETCH(int, long_version);
    QFETCH(int, version);
    WriteBook(Tree() / "in/Sales.xls", {"Orders", "Regions", "", "Totals"});
    WriteBook(Tree() / "in/Other.xls", {"Data"});
    WriteBook(Tree() / "in/Skip.xls", {"Data"});
    ListInput("Skip.xls");
    // Sales is shown: Orders renamed, Regions unticked.
    ClickRow(Ui(*form_).ListView2, Ui(*form_).ListView2->indexOfTopLevelItem(WorkbookRow("Sales.xls")));
    QCOMPARE(TextsOf(Ui(*form_).ListView3), (QStringList{"Orders", "Regions", "Blank", "Totals"}));
    QLineEdit* editor = StartRename(0, "Sold");
    QVERIFY(editor != nullptr);
    QTest::keyClick(editor, Qt::Key_Return);
    Ui(*form_).ListView3->setCurrentItem(Ui(*form_).ListView3->topLevelItem(1));
    QTest::keyClick(Ui(*form_).ListView3, Qt::Key_Space);
    QCOMPARE(Ui(*form_).ListView3->topLevelItem(1)->checkState(0), Qt::Unchecked);
    Ui(*form_).Combo1->setCurrentIndex(naming);
    Ui(*form_).Combo2->setCurrentIndex(level);
    const fs::path out = Tree() / "out";  // typed, missing: created
    Ui(*form_).Combo5->setEditText(QString::fromStdString(out.string()));

    Ui(*form_).Command6->click();

    QVERIFY(services_->messages.shown.empty());
    QCOMPARE(FilesBelow(out), expected);
    for (const std::string& file : expected) {
      if (file.size() < 4 || file.substr(file.size() - 4) != ".dbf") continue;
      QCOMPARE(int(FirstByte(out / file)), file == long_table ? long_version : version);
    }
    QCOMPARE(services_->shell.requests, (std::vector<ShellRequest>{{out.string() + "/", 5}}));
    QCOMPARE(form_->Listing().Choices().Label(1, 1), std::string("Sold"));
    ExpectRestState();
  }

  // The code page chosen in the Setting dialog (saved in set.txt) names the
  // tables' code page and decides their field names.
  void writesTablesInTheSavedCodePage() {
    dravella::gui::WriteSettings(services_->SettingsFolder(), false, false, "1251");
    WorkbookBuilder book;
    book.AddSheet("Данные").Text(0, 0, "Город").Text(1, 0, "Жук");
    book.WriteTo(Tree() / "in/Cities.xls");
    ListInput();
    const fs::path out = Tree() / "out";
    Ui(*form_).Combo5->setEditText(QString::fromStdString(out.string()));

    Click(Ui(*form_).Command6);

    QVERIFY(services_->messages.shown.empty());
    std::ifstream in(out / "Cities" / "Данные.dbf", std::ios::binary);
    const std::string table((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    QVERIFY(table.size() > 64);
    QCOMPARE(int(static_cast<uint8_t>(table[29])), 0xC9);
    QCOMPARE(table.substr(32, 5), std::string("\xC3\xCE\xD0\xCE\xC4"));  // ГОРОД
  }

  void refusesWithTheRightMessage_data() {
    QTest::addColumn<bool>("listed");
    QTest::addColumn<QString>("picked");  // an entry of Combo5, picked; "" for none
    QTest::addColumn<QString>("typed");   // then typed over it; "" to keep it
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("icon");
    const auto info = static_cast<int>(MessageIcon::kInformation);
    const auto critical = static_cast<int>(MessageIcon::kCritical);
    QTest::newRow("nothing listed") << false << "out" << "" << "Please select excel at fast!" << info;
    QTest::newRow("no output folder") << true << "" << "" << "Please select output folder" << info;
    QTest::newRow("picked folder removed meanwhile")
        << true << "removed" << "" << "Folder does not exist!" << critical;
    QTest::newRow("typed, parent missing") << true << "" << "no/such" << "Failed to create folder!" << critical;
  }
  void refusesWithTheRightMessage() {
    QFETCH(bool, listed);
    QFETCH(QString, picked);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(int, icon);
    WriteBook(Tree() / "in/Sales.xls", {"Orders"});
    if (listed) ListInput();
    const QString tree = tree_->path() + "/";
    if (!picked.isEmpty()) {
      Ui(*form_).Combo5->addItem(tree + picked);
      Ui(*form_).Combo5->setCurrentIndex(0);
    }
    if (!typed.isEmpty()) Ui(*form_).Combo5->setEditText(tree + typed);

    Ui(*form_).Command6->click();

    QCOMPARE(services_->messages.shown.size(), size_t(1));
    QCOMPARE(QString::fromStdString(services_->messages.shown[0].text), message);
    QCOMPARE(static_cast<int>(services_->messages.shown[0].icon), icon);
    QCOMPARE(FilesBelow(Tree()), (Files{"in/", "in/Sales.xls"}));
    QVERIFY(services_->shell.requests.empty());
    ExpectRestState();
  }

  // F2, a new name and no Enter: Convert from the menu, by mouse or by keys,
  // and from the button all use the new name and close the editor.
  void everyConvertCommitsAnUnfinishedRename_data() {
    QTest::addColumn<QString>("way");
    QTest::newRow("menu by mouse") << "menu";
    QTest::newRow("menu by keys") << "keys";
    QTest::newRow("button") << "button";
  }
  void everyConvertCommitsAnUnfinishedRename() {
    QFETCH(QString, way);
    WriteBook(Tree() / "in/Sales.xls", {"Orders"});
    ListInput();
    const fs::path out = Tree() / "out";
    Ui(*form_).Combo5->setEditText(QString::fromStdString(out.string()));
    QLineEdit* editor = StartRename(0, "Renamed");
    QVERIFY(editor != nullptr);

    QMenuBar* bar = form_->menuBar();
    QMenu* actions = Ui(*form_).Actions;
    if (way == "button") {
      Click(Ui(*form_).Command6);
    } else if (way == "menu") {
      QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(actions->menuAction()).center());
      QTRY_VERIFY(actions->isVisible());
      QTest::mouseClick(actions, Qt::LeftButton, {},
                        actions->actionGeometry(Ui(*form_).Separate).center());
    } else {
      QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(actions->menuAction()).center());
      QTRY_VERIFY(actions->isVisible());
      QTest::keyClick(actions, Qt::Key_Down);
      QTest::keyClick(actions, Qt::Key_Return);
    }

    QTRY_VERIFY(fs::exists(out / "Sales/Renamed.dbf"));
    QVERIFY(!fs::exists(out / "Sales/Orders.dbf"));
    QCOMPARE(Ui(*form_).ListView3->topLevelItem(0)->text(0), QString("Renamed"));
    QTRY_VERIFY(!editor->isVisible());
  }

  void aPickedEntryEditedIntoANewFolderIsCreated() {
    WriteBook(Tree() / "in/Sales.xls", {"Orders"});
    ListInput();
    fs::create_directories(Tree() / "saved");
    Ui(*form_).Combo5->addItem(QString::fromStdString((Tree() / "saved").string()));
    Ui(*form_).Combo5->setCurrentIndex(0);
    Ui(*form_).Combo5->setEditText(QString::fromStdString((Tree() / "fresh").string()));
    Ui(*form_).Command6->click();
    QVERIFY(services_->messages.shown.empty());
    QCOMPARE(FilesBelow(Tree() / "fresh"), (Files{"Sales/", "Sales/Orders.dbf"}));
  }

  void aFailingWorkbookIsReportedAndTheNextConverted() {
    std::ofstream(Tree() / "in/Bad.xls") << "not a workbook";
    WriteBook(Tree() / "in/Good.xls", {"Data"});
    ListInput();
    Ui(*form_).Combo5->setEditText(QString::fromStdString((Tree() / "out").string()));
    Ui(*form_).Command6->click();
    const auto& shown = services_->messages.shown;
    QCOMPARE(shown.size(), size_t(2));
    QVERIFY(!shown[0].text.empty());  // the error's own description
    QCOMPARE(shown[0].icon, MessageIcon::kNone);
    QCOMPARE(shown[1].text, std::string("Convert Bad file failed!"));
    QCOMPARE(shown[1].icon, MessageIcon::kCritical);
    QCOMPARE(FilesBelow(Tree() / "out"), (Files{"Bad/", "Good/", "Good/Data.dbf"}));
    ExpectRestState();
  }

  void paintsProgressWithoutHandlingInput() {
    WriteBook(Tree() / "in/Sales.xls", {"A", "B", "C"});
    ListInput();
    Ui(*form_).Combo5->setEditText(QString::fromStdString((Tree() / "out").string()));

    PaintSpy spy;
    spy.form = form_.get();
    Ui(*form_).Label1->installEventFilter(&spy);
    Ui(*form_).ProgressBar1->installEventFilter(&spy);
    // Waiting in the event queue: it must not run before Convert has ended.
    std::optional<bool> handled_during_run;
    bool converting = true;
    QTimer::singleShot(0, form_.get(), [&] { handled_during_run = converting; });

    Click(Ui(*form_).Command6);
    converting = false;

    QVERIFY(spy.status_paints.contains("Convert Sales"));
    for (int value : {1, 2, 3}) QVERIFY2(spy.progress_paints.contains(value), qPrintable(QString::number(value)));
    QCOMPARE(Ui(*form_).ProgressBar1->maximum(), 3);
    QCOMPARE(spy.pointers.first(), Qt::WaitCursor);
    QTRY_VERIFY(handled_during_run.has_value());
    QVERIFY(!*handled_during_run);
    ExpectRestState();
  }
};

QTEST_MAIN(TestConvertCommand)
#include "tst_convert_command.moc"
