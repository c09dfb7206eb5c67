// The input list and the output directory list of form1: the add, remove,
// move and click commands, the folder scan behind the workbook list, Browse,
// View and the two removals of output directories. Workbooks are written by
// the project's builder into temporary folders; dialogs answer from a script.
#include <QComboBox>
#include <QLineEdit>
#include <QTreeWidget>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "gui/form1.h"
#include "listing_fixtures.h"
#include "test_doubles.h"
#include "form_controls.h"

using dravella::testing::Click;
using dravella::testing::Ui;
using dravella::gui::Form1;
using dravella::testing::RecordingApplicationFactory;
using dravella::testing::SelectedText;
using dravella::testing::TextsOf;
using dravella::testing::TicksOf;
using dravella::testing::WriteWorkbook;
namespace fs = std::filesystem;
namespace gui = dravella::gui;

namespace {

using Harness = dravella::testing::ListingHarness;

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

class InputListTest : public QObject {
  Q_OBJECT

 private slots:
  void addExcelListsTheWorkbookAndItsWorksheets();
  void cancelledChoosersChangeNothing();
  void sameWorkbookTwiceGivesTwoEntries();
  void addFolderListsXlsByExactExtension();
  void folderWithoutWorkbooksListsNothing();
  void folderOfSixHundredListsFiveHundred();
  void removeFileSelectsNeighbour_data();
  void removeFileSelectsNeighbour();
  void removeFileWithoutAChosenInputRemovesNothing();
  void removeAllEmptiesTheThreeLists();
  void upAndDownMoveTheSelectedEntry_data();
  void upAndDownMoveTheSelectedEntry();
  void clickingTheCurrentInputTicksEverythingAgain();
  void clickingAMissingInputListsNothingAndSaysNothing();
  void browseAddsOnTopEachTime();
  void removeCurrentOutputDirectory_data();
  void removeCurrentOutputDirectory();
  void removeAllOutputDirectories();
  void typedOutputFolderIsWhatViewAndConvertUse_data();
  void typedOutputFolderIsWhatViewAndConvertUse();
  void longPathsAreListedAndConverted();
  void latin1FileNameRoundTripsThroughTheSavedList();
  void viewOpensAnExistingFolderOnly_data();
  void viewOpensAnExistingFolderOnly();
};

void InputListTest::addExcelListsTheWorkbookAndItsWorksheets() {
  Harness h;
  const std::string book = h.Workbook("in/Book1.xls", {"North", "South"});
  Qt::CursorShape pointer_while_listing = Qt::ArrowCursor;
  h.applications.record.on_create = [&] { pointer_while_listing = h.window->cursor().shape(); };
  h.AddExcel(book);

  auto& dialogs = h.stand_ins.dialogs;
  QCOMPARE(dialogs.titles_in.size(), 1u);
  QCOMPARE(dialogs.titles_in[0].value_or("<none>"), std::string("Select Excel File"));
  QCOMPARE(dialogs.filters_in[0], std::string("Excel files(*.xls)\0*.xls\0", 25));
  QCOMPARE(dialogs.open_records[0].hwndOwner, static_cast<void*>(h.window.get()));

  QCOMPARE(TextsOf(Ui(*h.window).ListView1), QStringList{Q(book)});
  QCOMPARE(h.IconKeyOf(0), h.ImageKey(gui::kImageWorkbook));
  QCOMPARE(SelectedText(Ui(*h.window).ListView1), Q(book));
  QCOMPARE(TextsOf(Ui(*h.window).ListView2), QStringList{"Book1.xls"});
  QCOMPARE(TicksOf(Ui(*h.window).ListView2), QString("1"));
  QCOMPARE(TextsOf(Ui(*h.window).ListView3), (QStringList{"North", "South"}));
  QCOMPARE(TicksOf(Ui(*h.window).ListView3), QString("11"));
  QCOMPARE(h.window->Listing().ShownWorkbook(), 1);
  QCOMPARE(pointer_while_listing, Qt::WaitCursor);
  QVERIFY(h.PointerIsDefault());
  QVERIFY(h.stand_ins.messages.shown.empty());
}

void InputListTest::cancelledChoosersChangeNothing() {
  Harness h;
  Click(Ui(*h.window).Command1);  // no answers queued: each chooser is cancelled
  Click(Ui(*h.window).Command5);
  h.AddFolder("");  // confirmed without a folder
  Click(Ui(*h.window).Command10);
  QCOMPARE(Ui(*h.window).ListView1->topLevelItemCount(), 0);
  QCOMPARE(Ui(*h.window).ListView2->topLevelItemCount(), 0);
  QCOMPARE(Ui(*h.window).Combo5->count(), 0);
  QCOMPARE(h.stand_ins.dialogs.browse_titles_in,
           (std::vector<std::string>{"Add all excel files in folder", "Add all excel files in folder",
                                     "Output Folder"}));
  QCOMPARE(h.applications.record.created, 0);
  QVERIFY(h.PointerIsDefault());
}

void InputListTest::sameWorkbookTwiceGivesTwoEntries() {
  Harness h;
  const std::string book = h.Workbook("Book1.xls");
  h.AddExcel(book);
  h.AddExcel(book);
  QCOMPARE(TextsOf(Ui(*h.window).ListView1), (QStringList{Q(book), Q(book)}));
  QCOMPARE(Ui(*h.window).ListView1->indexOfTopLevelItem(Ui(*h.window).ListView1->selectedItems().first()), 1);
  Click(Ui(*h.window).Command2);
  QCOMPARE(TextsOf(Ui(*h.window).ListView1), QStringList{Q(book)});
  QCOMPARE(TextsOf(Ui(*h.window).ListView2), QStringList{"Book1.xls"});
}

void InputListTest::addFolderListsXlsByExactExtension() {
  Harness h;
  const std::string folder = h.Folder("mixed");
  h.Workbook("mixed/a.xls", {"A1", "A2"});
  h.Workbook("mixed/B.XLS", {"B1"});
  h.Workbook("mixed/c.xlsx", {"C1"});
  std::ofstream(h.Path("mixed/d.txt")) << "text";
  h.AddFolder(folder);

  QCOMPARE(TextsOf(Ui(*h.window).ListView1), QStringList{Q(folder)});
  QCOMPARE(h.IconKeyOf(0), h.ImageKey(gui::kImageFolder));
  QStringList listed = TextsOf(Ui(*h.window).ListView2);
  QCOMPARE(TicksOf(Ui(*h.window).ListView2), QString("11"));
  const QString first = listed.first();
  listed.sort();
  QCOMPARE(listed, (QStringList{"B.XLS", "a.xls"}));
  // The first workbook in listing order is the chosen one and is listed.
  QCOMPARE(SelectedText(Ui(*h.window).ListView2), first);
  QCOMPARE(TextsOf(Ui(*h.window).ListView3),
           first == "a.xls" ? (QStringList{"A1", "A2"}) : QStringList{"B1"});
  QCOMPARE(h.stand_ins.dialogs.browse_titles_in, std::vector<std::string>{"Add all excel files in folder"});
  QVERIFY(h.PointerIsDefault());
}

void InputListTest::folderWithoutWorkbooksListsNothing() {
  Harness h;
  const std::string folder = h.Folder("empty");
  std::ofstream(h.Path("empty/notes.txt")) << "x";
  h.AddFolder(folder);
  QCOMPARE(TextsOf(Ui(*h.window).ListView1), QStringList{Q(folder)});
  QCOMPARE(h.IconKeyOf(0), h.ImageKey(gui::kImageFolder));
  QCOMPARE(Ui(*h.window).ListView2->topLevelItemCount(), 0);
  QCOMPARE(Ui(*h.window).ListView3->topLevelItemCount(), 0);
  QCOMPARE(h.applications.record.created, 0);
  QVERIFY(h.stand_ins.messages.shown.empty());
}

void InputListTest::folderOfSixHundredListsFiveHundred() {
  Harness h;
  const std::string folder = h.Folder("many");
  const std::vector<uint8_t> bytes = dravella::testing::WorkbookBytes({"Only"});
  for (int i = 0; i < 600; ++i) {
    std::ofstream out(h.Path("many/book" + std::to_string(i) + ".xls"), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  h.AddFolder(folder);
  QCOMPARE(Ui(*h.window).ListView2->topLevelItemCount(), 500);
  QCOMPARE(TicksOf(Ui(*h.window).ListView2), QString(500, QLatin1Char('1')));
  // Only the chosen (first) workbook is opened.
  QCOMPARE(h.applications.record.opened.size(), 1u);
  QCOMPARE(TextsOf(Ui(*h.window).ListView3), QStringList{"Only"});
}

void InputListTest::removeFileSelectsNeighbour_data() {
  QTest::addColumn<int>("count");
  QTest::addColumn<int>("removed");   // row, from 0
  QTest::addColumn<int>("selected");  // row afterwards; -1 when the list is empty
  QTest::newRow("first of three") << 3 << 0 << 0;
  QTest::newRow("last of three") << 3 << 2 << 1;
  QTest::newRow("middle of three") << 3 << 1 << 0;
  QTest::newRow("the only one") << 1 << 0 << -1;
}

void InputListTest::removeFileSelectsNeighbour() {
  QFETCH(int, count);
  QFETCH(int, removed);
  QFETCH(int, selected);
  Harness h;
  QStringList books;
  for (int i = 0; i < count; ++i) {
    const std::string name = "Book" + std::to_string(i) + ".xls";
    h.AddExcel(h.Workbook(name, {"Sheet of " + name}));
    books << Q(h.Path(name).string());
  }
  h.ClickInput(removed);
  Click(Ui(*h.window).Command2);

  books.removeAt(removed);
  QCOMPARE(TextsOf(Ui(*h.window).ListView1), books);
  QVERIFY(h.PointerIsDefault());
  if (selected < 0) {
    QCOMPARE(Ui(*h.window).ListView2->topLevelItemCount(), 0);
    QCOMPARE(Ui(*h.window).ListView3->topLevelItemCount(), 0);
    QVERIFY(!h.window->Listing().Choices().IsListed(1));
    return;
  }
  QCOMPARE(SelectedText(Ui(*h.window).ListView1), books[selected]);
  // The workbook list follows the newly selected input, listed afresh.
  const QString name = QString::fromStdString(fs::path(books[selected].toStdString()).filename().string());
  QCOMPARE(TextsOf(Ui(*h.window).ListView2), QStringList{name});
  QCOMPARE(TextsOf(Ui(*h.window).ListView3), QStringList{"Sheet of " + name});
}

void InputListTest::removeFileWithoutAChosenInputRemovesNothing() {
  Harness h;
  h.AddExcel(h.Workbook("One.xls"));
  h.AddExcel(h.Workbook("Two.xls"));
  Ui(*h.window).ListView1->setCurrentItem(nullptr);
  Click(Ui(*h.window).Command2);
  QCOMPARE(Ui(*h.window).ListView1->topLevelItemCount(), 2);
  QCOMPARE(TextsOf(Ui(*h.window).ListView2), QStringList{"Two.xls"});
}

void InputListTest::removeAllEmptiesTheThreeLists() {
  Harness h;
  h.AddExcel(h.Workbook("One.xls", {"A", "B"}));
  Ui(*h.window).Combo5->addItem("/out");
  Ui(*h.window).RemoveAll->trigger();
  QCOMPARE(Ui(*h.window).ListView1->topLevelItemCount(), 0);
  QCOMPARE(Ui(*h.window).ListView2->topLevelItemCount(), 0);
  QCOMPARE(Ui(*h.window).ListView3->topLevelItemCount(), 0);
  QVERIFY(!h.window->Listing().Choices().IsListed(1));
  QCOMPARE(Ui(*h.window).Combo5->count(), 1);
  // With nothing left, the commands on the list do nothing and say nothing.
  Click(Ui(*h.window).Command2);
  Click(Ui(*h.window).Command3);
  Click(Ui(*h.window).Command4);
  QTest::mouseClick(Ui(*h.window).ListView1->viewport(), Qt::LeftButton);
  QVERIFY(h.stand_ins.messages.shown.empty());
}

void InputListTest::upAndDownMoveTheSelectedEntry_data() {
  QTest::addColumn<int>("selected");
  QTest::addColumn<bool>("up");
  QTest::addColumn<QString>("order");  // the three entries afterwards, by their original row
  QTest::addColumn<int>("selectedAfter");
  QTest::newRow("up from the middle") << 1 << true << "102" << 0;
  QTest::newRow("down from the middle") << 1 << false << "021" << 2;
  QTest::newRow("up on the first") << 0 << true << "012" << 0;
  QTest::newRow("down on the last") << 2 << false << "012" << 2;
  QTest::newRow("down from the first") << 0 << false << "102" << 1;
}

void InputListTest::upAndDownMoveTheSelectedEntry() {
  QFETCH(int, selected);
  QFETCH(bool, up);
  QFETCH(QString, order);
  QFETCH(int, selectedAfter);
  Harness h;
  // A workbook, a folder and a path that no longer exists: three pictures.
  const std::string book = h.Workbook("Book.xls", {"Only"});
  const std::string folder = h.Folder("Folder");
  const std::string gone = h.Workbook("Gone.xls");
  h.AddExcel(book);
  h.AddFolder(folder);
  h.AddExcel(gone);
  fs::remove(gone);
  const QStringList texts{Q(book), Q(folder), Q(gone)};
  const qint64 icons[] = {h.IconKeyOf(0), h.IconKeyOf(1), h.IconKeyOf(2)};
  h.ClickInput(selected);
  const QStringList workbooks = TextsOf(Ui(*h.window).ListView2);
  const QStringList worksheets = TextsOf(Ui(*h.window).ListView3);
  const int opened = static_cast<int>(h.applications.record.opened.size());

  up ? Click(Ui(*h.window).Command3) : Click(Ui(*h.window).Command4);

  for (int row = 0; row < 3; ++row) {
    const int original = order[row].digitValue();
    QCOMPARE(Ui(*h.window).ListView1->topLevelItem(row)->text(0), texts[original]);
    QCOMPARE(h.IconKeyOf(row), icons[original]);
  }
  QCOMPARE(SelectedText(Ui(*h.window).ListView1), texts[order[selectedAfter].digitValue()]);
  // The workbook and worksheet lists stay as they were.
  QCOMPARE(TextsOf(Ui(*h.window).ListView2), workbooks);
  QCOMPARE(TextsOf(Ui(*h.window).ListView3), worksheets);
  QCOMPARE(static_cast<int>(h.applications.record.opened.size()), opened);
}

void InputListTest::clickingTheCurrentInputTicksEverythingAgain() {
  Harness h;
  const std::string folder = h.Folder("books");
  h.Workbook("books/one.xls", {"A", "B"});
  h.Workbook("books/two.xls", {"C"});
  h.AddFolder(folder);
  Ui(*h.window).ListView2->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
  Ui(*h.window).ListView3->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
  h.ClickWorkbook(0);  // keeps the unticked worksheet in the choices
  QVERIFY(h.window->Listing().Choices().IsListed(1));
  h.ClickInput(0);
  QCOMPARE(TicksOf(Ui(*h.window).ListView2), QString("11"));
  QCOMPARE(TicksOf(Ui(*h.window).ListView3).count('1'), Ui(*h.window).ListView3->topLevelItemCount());
  // The table is emptied after the listing: the list shown lives on screen only.
  QVERIFY(!h.window->Listing().Choices().IsListed(1));
  QVERIFY(h.PointerIsDefault());
}

void InputListTest::clickingAMissingInputListsNothingAndSaysNothing() {
  Harness h;
  const std::string book = h.Workbook("Gone.xls", {"Sheet"});
  h.AddExcel(book);
  fs::remove(book);
  h.ClickInput(0);
  QCOMPARE(Ui(*h.window).ListView2->topLevelItemCount(), 0);
  QCOMPARE(Ui(*h.window).ListView3->topLevelItemCount(), 0);
  QVERIFY(h.stand_ins.messages.shown.empty());
  QVERIFY(h.PointerIsDefault());
}

void InputListTest::browseAddsOnTopEachTime() {
  Harness h;
  Ui(*h.window).Combo5->addItem("/saved");
  Ui(*h.window).Combo5->setCurrentIndex(0);
  h.stand_ins.dialogs.folder_answers = {std::string("/out/a"), std::string("/out/a")};
  Click(Ui(*h.window).Command10);
  Click(Ui(*h.window).Command10);
  QCOMPARE(Ui(*h.window).Combo5->count(), 3);
  QCOMPARE(Ui(*h.window).Combo5->itemText(0), QString("/out/a"));
  QCOMPARE(Ui(*h.window).Combo5->itemText(1), QString("/out/a"));
  QCOMPARE(Ui(*h.window).Combo5->itemText(2), QString("/saved"));
  QCOMPARE(Ui(*h.window).Combo5->currentIndex(), 0);
  QCOMPARE(Ui(*h.window).Combo5->currentText(), QString("/out/a"));
  QCOMPARE(h.stand_ins.dialogs.browse_titles_in, (std::vector<std::string>{"Output Folder", "Output Folder"}));
}

void InputListTest::removeCurrentOutputDirectory_data() {
  QTest::addColumn<int>("selected");  // -1: a directory typed into the text field
  QTest::addColumn<QStringList>("left");
  QTest::addColumn<int>("selectedAfter");
  QTest::newRow("last selected") << 2 << QStringList{"/a", "/b"} << 1;
  QTest::newRow("first selected") << 0 << QStringList{"/b", "/c"} << 0;
  QTest::newRow("middle selected") << 1 << QStringList{"/a", "/c"} << 1;
  QTest::newRow("typed directory") << -1 << QStringList{"/a", "/b", "/c"} << 0;
}

void InputListTest::removeCurrentOutputDirectory() {
  QFETCH(int, selected);
  QFETCH(QStringList, left);
  QFETCH(int, selectedAfter);
  Harness h;
  QComboBox* combo = Ui(*h.window).Combo5;
  combo->addItems({"/a", "/b", "/c"});
  if (selected >= 0) {
    combo->setCurrentIndex(selected);
  } else {
    combo->setCurrentIndex(0);
    combo->setEditText("/typed/elsewhere");
  }
  Ui(*h.window).Removeoutput->trigger();
  QStringList entries;
  for (int i = 0; i < combo->count(); ++i) entries << combo->itemText(i);
  QCOMPARE(entries, left);
  QCOMPARE(combo->currentIndex(), selectedAfter);
  if (selected >= 0) QCOMPARE(combo->currentText(), left[selectedAfter]);
}

void InputListTest::removeAllOutputDirectories() {
  Harness h;
  Ui(*h.window).Combo5->addItems({"/a", "/a", "/b"});
  Ui(*h.window).Combo5->setCurrentIndex(2);
  Ui(*h.window).RemoveAllOutput->trigger();
  QCOMPARE(Ui(*h.window).Combo5->count(), 0);
  Ui(*h.window).Removeoutput->trigger();  // nothing left to remove
  Ui(*h.window).RemoveAllOutput->trigger();
  QCOMPARE(Ui(*h.window).Combo5->count(), 0);
}

void InputListTest::viewOpensAnExistingFolderOnly_data() {
  QTest::addColumn<QString>("relative");  // "" : the harness's own folder
  QTest::addColumn<bool>("opens");
  QTest::newRow("typed existing folder") << "out" << true;
  QTest::newRow("missing folder") << "missing" << false;
  QTest::newRow("a file") << "file.xls" << false;
  // An empty box names no folder: never the file system's root.
  QTest::newRow("empty box") << "<empty>" << false;
}

void InputListTest::viewOpensAnExistingFolderOnly() {
  QFETCH(QString, relative);
  QFETCH(bool, opens);
  Harness h;
  h.Folder("out");
  h.Workbook("file.xls");
  Ui(*h.window).Combo5->addItem("/somewhere/else");
  const std::string typed = relative == "<empty>" ? "" : h.Path(relative.toStdString()).string();
  Ui(*h.window).Combo5->setEditText(Q(typed));
  Click(Ui(*h.window).Command11);
  if (opens) {
    QCOMPARE(h.stand_ins.shell.requests,
             (std::vector<dravella::testing::ShellRequest>{{typed + "/", 5}}));
  } else {
    QVERIFY(h.stand_ins.shell.requests.empty());
  }
  QVERIFY(h.stand_ins.messages.shown.empty());
}

void InputListTest::typedOutputFolderIsWhatViewAndConvertUse_data() {
  QTest::addColumn<QString>("typed");
  // A saved Reports2024 is offered, never put in place of what was typed.
  QTest::newRow("prefix of a saved entry") << "Reports";
  QTest::newRow("saved entry in other case") << "REPORTS2024";
}

void InputListTest::typedOutputFolderIsWhatViewAndConvertUse() {
  QFETCH(QString, typed);
  Harness h;
  const auto ui = Ui(*h.window);
  const std::string saved = h.Folder("Reports2024");
  const std::string wanted = h.Folder(typed.toStdString());
  ui.Combo5->addItem(Q(saved));
  ui.Combo5->setCurrentIndex(0);
  ui.Combo5->lineEdit()->setFocus();
  ui.Combo5->lineEdit()->selectAll();
  QTest::keyClick(ui.Combo5->lineEdit(), Qt::Key_Delete);
  QTest::keyClicks(ui.Combo5->lineEdit(), Q(wanted));
  QTest::keyClick(ui.Combo5->lineEdit(), Qt::Key_Return);
  QTest::keyClick(ui.Combo5->lineEdit(), Qt::Key_Tab);  // leaving the box ends the editing
  QCOMPARE(ui.Combo5->currentText(), Q(wanted));
  Click(ui.Command11);
  QCOMPARE(h.stand_ins.shell.requests,
           (std::vector<dravella::testing::ShellRequest>{{wanted + "/", 5}}));

  h.AddExcel(h.Workbook("Book.xls", {"Only"}));
  Click(ui.Command6);
  QVERIFY(fs::exists(fs::path(wanted) / "Book/Only.dbf"));
  QVERIFY(!fs::exists(fs::path(saved) / "Book"));
}

void InputListTest::longPathsAreListedAndConverted() {
  Harness h;
  // 300 bytes and more, some of them in characters of two and three bytes.
  std::string relative;
  while (h.Path(relative).string().size() < 300) relative += "Ordner-Ã¼â¬-" + std::to_string(relative.size()) + "/";
  const std::string book = h.Workbook(relative + "Book.xls", {"Deep"});
  QVERIFY(book.size() > 300);
  h.AddExcel(book);
  const auto ui = Ui(*h.window);
  QCOMPARE(TextsOf(ui.ListView1), QStringList{QString::fromUtf8(book)});
  QCOMPARE(TextsOf(ui.ListView3), QStringList{"Deep"});
  h.AddFolder(h.Path(relative).string());
  QCOMPARE(TextsOf(ui.ListView2), QStringList{"Book.xls"});
  QCOMPARE(TextsOf(ui.ListView3), QStringList{"Deep"});
  QVERIFY(h.stand_ins.messages.shown.empty());
}

void InputListTest::latin1FileNameRoundTripsThroughTheSavedList() {
  Harness first;
  // "Bücher" in Latin-1: bytes that are no UTF-8.
  const std::string folder = first.Folder("B\xFC" "cher");
  WriteWorkbook(fs::path(folder) / "Q\xE4rtal.xls", {"Umsatz"});
  const fs::path settings = first.stand_ins.SettingsFolder();
  std::ofstream(settings / "set.txt", std::ios::binary) << "1\r\n0\r\n";
  std::ofstream(settings / "EXCEL.txt", std::ios::binary) << folder << "\r\n";
  const std::string saved = folder + "\r\n";

  // A window over that settings folder lists the saved entry and what it holds.
  auto window = std::make_unique<Form1>(first.stand_ins.Services());
  window->show();
  QVERIFY(QTest::qWaitForWindowExposed(window.get()));
  const auto ui = Ui(*window);
  QCOMPARE(ui.ListView1->topLevelItemCount(), 1);
  QCOMPARE(ui.ListView1->topLevelItem(0)->icon(0).cacheKey(),
           ui.ImageList1->Image(gui::kImageFolder).cacheKey());
  dravella::testing::ClickRow(ui.ListView1, 0);
  QCOMPARE(ui.ListView2->topLevelItemCount(), 1);
  QCOMPARE(TextsOf(ui.ListView3), QStringList{"Umsatz"});

  // It converts, and the list is written back byte for byte.
  const fs::path out = first.Path("out");
  ui.Combo5->setEditText(Q(out.string()));
  Click(ui.Command6);
  QVERIFY(first.stand_ins.messages.shown.empty());
  QVERIFY(fs::exists(out / "Q\xE4rtal/Umsatz.dbf"));
  window->close();
  std::ifstream in(settings / "EXCEL.txt", std::ios::binary);
  QCOMPARE(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), saved);
}

QTEST_MAIN(InputListTest)
#include "tst_input_list.moc"
