// The chosen input and workbook follow the current entry however it moves:
// arrow keys, Home/End, type-ahead, dragging or the program. What is listed
// is what Convert writes.
#include <QComboBox>
#include <QTreeWidget>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "form_controls.h"
#include "gui/convert_command.h"
#include "gui/form1.h"
#include "gui/input_list.h"
#include "listing_fixtures.h"
#include "tests/support/xls_builder.h"

using dravella::testing::Click;
using dravella::testing::ListingHarness;
using dravella::testing::TextsOf;
using dravella::testing::Ui;
namespace fs = std::filesystem;

namespace {

std::string PathOf(const QTreeWidgetItem* entry) { return dravella::gui::PathOfEntry(entry); }

// Folders A and B each hold a monthly.xls: A's worksheet Jan, B's Feb, each
// with a cell that says whose it is.
struct TwoMonthlies : ListingHarness {
  std::string a, b;
  TwoMonthlies() {
    a = Monthly("A", "Jan");
    b = Monthly("B", "Feb");
    AddFolder(a);
    AddFolder(b);
  }
  std::string Monthly(const std::string& folder, const std::string& sheet) {
    dravella::testing::WorkbookBuilder book;
    book.AddSheet(sheet).Text(0, 0, "Owner").Text(1, 0, "from " + folder);
    fs::create_directories(Path(folder));
    book.WriteTo(Path(folder + "/monthly.xls"));
    return Path(folder).string();
  }
  std::string FileText(const fs::path& file) const {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
};

}  // namespace

class ChosenEntryTest : public QObject {
  Q_OBJECT

 private slots:
  void keysAndDragsChooseWhatConvertWrites_data();
  void keysAndDragsChooseWhatConvertWrites();
  void workbookListFollowsTheKeys();
  void aRebuiltWorkbookListEmptiesTheWorksheets();
  void deleteRemovesTheChosenInput();
};

void ChosenEntryTest::keysAndDragsChooseWhatConvertWrites_data() {
  QTest::addColumn<QString>("move");
  QTest::newRow("Down") << "Down";
  QTest::newRow("End") << "End";
  QTest::newRow("type-ahead") << "type";
  QTest::newRow("drag") << "drag";
  QTest::newRow("program") << "program";
}

void ChosenEntryTest::keysAndDragsChooseWhatConvertWrites() {
  QFETCH(QString, move);
  TwoMonthlies h;
  const auto ui = Ui(*h.window);
  // The user's way that wrote B's data as Jan.dbf: A, its workbook, A again.
  h.ClickInput(0);
  h.ClickWorkbook(0);
  h.ClickInput(0);
  QCOMPARE(TextsOf(ui.ListView3), QStringList{"Jan"});

  ui.ListView1->setFocus();
  QTreeWidget* inputs = ui.ListView1;
  if (move == "Down") {
    QTest::keyClick(inputs, Qt::Key_Down);
  } else if (move == "End") {
    QTest::keyClick(inputs, Qt::Key_End);
  } else if (move == "type") {
    // The entries start with the harness folder; only B's ends in "B".
    const QString text = inputs->topLevelItem(1)->text(0);
    QTest::keyClicks(inputs, text);
  } else if (move == "drag") {
    const QPoint from = inputs->visualItemRect(inputs->topLevelItem(0)).center();
    const QPoint to = inputs->visualItemRect(inputs->topLevelItem(1)).center();
    QTest::mousePress(inputs->viewport(), Qt::LeftButton, {}, from);
    QTest::mouseMove(inputs->viewport(), to);
    QTest::mouseRelease(inputs->viewport(), Qt::LeftButton, {}, to);
  } else {
    inputs->setCurrentItem(inputs->topLevelItem(1));
  }
  QCOMPARE(PathOf(inputs->currentItem()), h.b);
  QCOMPARE(TextsOf(ui.ListView3), QStringList{"Feb"});

  const fs::path out = h.Path("out");
  ui.Combo5->setEditText(QString::fromStdString(out.string()));
  Click(ui.Command6);
  QVERIFY(h.stand_ins.messages.shown.empty());
  QVERIFY(!fs::exists(out / "monthly/Jan.dbf"));
  QVERIFY(fs::exists(out / "monthly/Feb.dbf"));
  QVERIFY(h.FileText(out / "monthly/Feb.dbf").find("from B") != std::string::npos);
}

void ChosenEntryTest::workbookListFollowsTheKeys() {
  ListingHarness h;
  const std::string folder = h.Folder("books");
  h.Workbook("books/one.xls", {"North"});
  h.Workbook("books/two.xls", {"West"});
  h.AddFolder(folder);
  const auto ui = Ui(*h.window);
  const QStringList first = TextsOf(ui.ListView3);
  ui.ListView2->setFocus();
  QTest::keyClick(ui.ListView2, Qt::Key_Down);
  QCOMPARE(ui.ListView2->indexOfTopLevelItem(ui.ListView2->currentItem()), 1);
  const QStringList second = TextsOf(ui.ListView3);
  QVERIFY(second != first);
  QCOMPARE((QSet<QString>{first.first(), second.first()}), (QSet<QString>{"North", "West"}));
  // Back with Home: the first workbook's list, from its kept choices.
  const std::size_t opens = h.applications.record.opened.size();
  QTest::keyClick(ui.ListView2, Qt::Key_Home);
  QCOMPARE(TextsOf(ui.ListView3), first);
  QCOMPARE(h.applications.record.opened.size(), opens);
}

void ChosenEntryTest::aRebuiltWorkbookListEmptiesTheWorksheets() {
  ListingHarness h;
  h.AddExcel(h.Workbook("Book.xls", {"North", "South"}));
  const auto ui = Ui(*h.window);
  QCOMPARE(TextsOf(ui.ListView3).size(), 2);
  h.AddFolder(h.Folder("empty"));
  QCOMPARE(ui.ListView2->topLevelItemCount(), 0);
  QCOMPARE(ui.ListView3->topLevelItemCount(), 0);
  // Convert then has nothing listed, and says so.
  ui.Combo5->setEditText(QString::fromStdString(h.Path("out").string()));
  Click(ui.Command6);
  QCOMPARE(h.stand_ins.messages.shown.size(), 1u);
  QCOMPARE(h.stand_ins.messages.shown[0].text, std::string("Please select excel at fast!"));
}

void ChosenEntryTest::deleteRemovesTheChosenInput() {
  ListingHarness h;
  const std::string one = h.Workbook("One.xls", {"A"});
  const std::string two = h.Workbook("Two.xls", {"B"});
  h.AddExcel(one);
  h.AddExcel(two);
  const auto ui = Ui(*h.window);
  h.ClickInput(1);
  QTest::keyClick(ui.ListView1, Qt::Key_Delete);
  QCOMPARE(TextsOf(ui.ListView1), QStringList{QString::fromStdString(one)});
  QCOMPARE(TextsOf(ui.ListView3), QStringList{"A"});
  // Elsewhere Delete is no removal.
  ui.ListView2->setFocus();
  QTest::keyClick(ui.ListView2, Qt::Key_Delete);
  QCOMPARE(ui.ListView1->topLevelItemCount(), 1);
}

QTEST_MAIN(ChosenEntryTest)
#include "tst_chosen_entry.moc"
