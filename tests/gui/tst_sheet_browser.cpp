// The sheet browser of form1: worksheets listed from the workbook or from
// SheetTable, choices kept while the user moves between workbooks, in-place
// label editing, the quirk of a listing right after an input click, the
// 5000-worksheet limit of the table, and the two messages of a failed open.
#include <QLineEdit>
#include <QTreeWidget>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include "gui/form1.h"
#include "listing_fixtures.h"
#include "form_controls.h"

using dravella::testing::Ui;
using dravella::testing::ListingHarness;
using dravella::testing::SelectedText;
using dravella::testing::TextsOf;
using dravella::testing::TicksOf;
namespace fs = std::filesystem;
namespace gui = dravella::gui;

namespace {

// A folder input holding one.xls (North, South, East) and two.xls (West).
struct TwoBooks : ListingHarness {
  std::string folder;
  TwoBooks() {
    folder = Folder("books");
    Workbook("books/one.xls", {"North", "South", "East"});
    Workbook("books/two.xls", {"West"});
    AddFolder(folder);
    // The folder lists in file-system order; make row 0 one.xls for the tests.
    if (Ui(*window).ListView2->topLevelItem(0)->text(0) != "one.xls") {
      ClickWorkbook(1);
      applications.record = {};
    }
  }
  int Row(const QString& name) const {
    for (int i = 0; i < Ui(*window).ListView2->topLevelItemCount(); ++i) {
      if (Ui(*window).ListView2->topLevelItem(i)->text(0) == name) return i;
    }
    return -1;
  }
  void Click(const QString& name) { ClickWorkbook(Row(name)); }
  QTreeWidgetItem* Sheet(int row) const { return Ui(*window).ListView3->topLevelItem(row); }
  size_t Opens() const { return applications.record.opened.size(); }
};

}  // namespace

class SheetBrowserTest : public QObject {
  Q_OBJECT

 private slots:
  void firstVisitListsEveryWorksheetTicked();
  void choicesSurviveASwitchWithoutReopening();
  void listingRightAfterAnInputClickLosesEdits();
  void clickingAnotherWorkbookFirstKeepsEdits();
  void emptyLabels_data();
  void emptyLabels();
  void labelsAreEditedInPlaceAcceptingAnyText();
  void unresolvableWorkbookChangesNothing();
  void moreThanFiveThousandWorksheets();
  void failedOpenShowsBothMessagesAndQuits_data();
  void failedOpenShowsBothMessagesAndQuits();
};

void SheetBrowserTest::firstVisitListsEveryWorksheetTicked() {
  TwoBooks h;
  QCOMPARE(TextsOf(Ui(*h.window).ListView3), (QStringList{"North", "South", "East"}));
  QCOMPARE(TicksOf(Ui(*h.window).ListView3), QString("111"));
  h.Click("two.xls");
  QCOMPARE(TextsOf(Ui(*h.window).ListView3), QStringList{"West"});
  QCOMPARE(h.window->Listing().ShownWorkbook(), h.Row("two.xls") + 1);
  QCOMPARE(h.window->Listing().Choices().Label(h.Row("two.xls") + 1, 1), std::string("West"));
  QVERIFY(h.window->Listing().Choices().IsChosen(h.Row("two.xls") + 1, 1));
  // Every application started was quit; every workbook opened was closed.
  QCOMPARE(h.applications.record.quit, h.applications.record.created);
  QCOMPARE(h.applications.record.closed, static_cast<int>(h.Opens()));
  QVERIFY(h.PointerIsDefault());
}

void SheetBrowserTest::choicesSurviveASwitchWithoutReopening() {
  TwoBooks h;
  h.Sheet(1)->setCheckState(0, Qt::Unchecked);  // untick South
  h.Sheet(2)->setText(0, "Eastern region");     // rename East
  h.Click("two.xls");
  const size_t opens = h.Opens();
  h.Click("one.xls");
  QCOMPARE(TextsOf(Ui(*h.window).ListView3), (QStringList{"North", "South", "Eastern region"}));
  QCOMPARE(TicksOf(Ui(*h.window).ListView3), QString("101"));
  QCOMPARE(h.Opens(), opens);  // shown from the table, not reopened
  h.Click("two.xls");
  QCOMPARE(h.Opens(), opens);
  // What the export reads.
  const int one = h.Row("one.xls") + 1;
  QVERIFY(!h.window->Listing().Choices().IsChosen(one, 2));
  QCOMPARE(h.window->Listing().Choices().Label(one, 3), std::string("Eastern region"));
}

void SheetBrowserTest::listingRightAfterAnInputClickLosesEdits() {
  TwoBooks h;
  h.ClickInput(0);  // lists the first workbook, then empties the table once more
  const size_t opens = h.Opens();
  h.Sheet(0)->setCheckState(0, Qt::Unchecked);
  h.Sheet(1)->setText(0, "Renamed");
  // Clicking the workbook already shown: worksheet 1's label is looked up
  // before the list is saved, so the workbook counts as not listed and is
  // read again, all ticked.
  h.Click(SelectedText(Ui(*h.window).ListView2));
  QCOMPARE(h.Opens(), opens + 1);
  QCOMPARE(TicksOf(Ui(*h.window).ListView3), QString(Ui(*h.window).ListView3->topLevelItemCount(), '1'));
  QVERIFY(!TextsOf(Ui(*h.window).ListView3).contains("Renamed"));
}

void SheetBrowserTest::clickingAnotherWorkbookFirstKeepsEdits() {
  TwoBooks h;
  h.ClickInput(0);
  const QString shown = SelectedText(Ui(*h.window).ListView2);
  const QString other = shown == "one.xls" ? "two.xls" : "one.xls";
  h.Sheet(0)->setText(0, "Kept");
  h.Click(other);
  const size_t opens = h.Opens();
  h.Click(shown);
  QCOMPARE(Ui(*h.window).ListView3->topLevelItem(0)->text(0), QString("Kept"));
  QCOMPARE(h.Opens(), opens);
}

void SheetBrowserTest::emptyLabels_data() {
  QTest::addColumn<int>("emptied");  // worksheet row whose label is emptied
  QTest::addColumn<QStringList>("shownAgain");
  QTest::addColumn<bool>("reopened");
  // An empty first label makes the workbook count as never listed.
  QTest::newRow("first label") << 0 << QStringList{"North", "South", "East"} << true;
  // An empty later label ends the workbook's list in the table.
  QTest::newRow("second label") << 1 << QStringList{"North"} << false;
}

void SheetBrowserTest::emptyLabels() {
  QFETCH(int, emptied);
  QFETCH(QStringList, shownAgain);
  QFETCH(bool, reopened);
  TwoBooks h;
  h.Sheet(emptied)->setText(0, QString());
  h.Click("two.xls");
  QCOMPARE(h.window->Listing().Choices().Label(h.Row("one.xls") + 1, emptied + 1), std::string());
  const size_t opens = h.Opens();
  h.Click("one.xls");
  QCOMPARE(TextsOf(Ui(*h.window).ListView3), shownAgain);
  QCOMPARE(TicksOf(Ui(*h.window).ListView3), QString(shownAgain.size(), '1'));
  QCOMPARE(h.Opens(), reopened ? opens + 1 : opens);
}

void SheetBrowserTest::labelsAreEditedInPlaceAcceptingAnyText() {
  TwoBooks h;
  h.window->show();
  QVERIFY(QTest::qWaitForWindowExposed(h.window.get()));
  QTreeWidget* sheets = Ui(*h.window).ListView3;
  const char* const texts[] = {"  spaced  ", "a/b\\c:d", "", "Ünïcödé"};
  for (const char* text : texts) {
    sheets->setFocus();
    sheets->setCurrentItem(h.Sheet(1));
    QTest::keyClick(sheets, Qt::Key_F2);
    QLineEdit* editor = nullptr;
    QTRY_VERIFY((editor = sheets->findChild<QLineEdit*>()) != nullptr && editor->isVisible());
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Delete);
    // QTest types Latin-1 keys only; other letters arrive as an input method would put them.
    const QString typed = QString::fromUtf8(text);
    typed.toLatin1() == QByteArray(text) ? QTest::keyClicks(editor, typed) : editor->insert(typed);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(h.Sheet(1)->text(0), QString::fromUtf8(text));
  }
  h.Click("one.xls");  // the current workbook again: its list is kept
  QCOMPARE(h.window->Listing().Choices().Label(h.window->Listing().ShownWorkbook(), 2), std::string("Ünïcödé"));
  // The worksheet in the workbook keeps its name: read afresh, it is South.
  h.ClickInput(0);
  h.Click("one.xls");
  QCOMPARE(TextsOf(Ui(*h.window).ListView3), (QStringList{"North", "South", "East"}));
}

void SheetBrowserTest::unresolvableWorkbookChangesNothing() {
  TwoBooks h;
  const QStringList shown = TextsOf(Ui(*h.window).ListView3);
  fs::remove(h.Path("books/two.xls"));
  const size_t opens = h.Opens();
  h.Click("two.xls");
  QCOMPARE(TextsOf(Ui(*h.window).ListView3), shown);
  QCOMPARE(h.Opens(), opens);
  QVERIFY(h.stand_ins.messages.shown.empty());
}

void SheetBrowserTest::moreThanFiveThousandWorksheets() {
  ListingHarness h;
  std::vector<std::string> names;
  for (int i = 1; i <= 5003; ++i) names.push_back("S" + std::to_string(i));
  const std::string folder = h.Folder("big");
  h.Workbook("big/many.xls", names);
  h.Workbook("big/small.xls", {"Only"});
  h.AddFolder(folder);
  h.ClickInput(0);  // an empty table: the next click reads the workbook
  const int many = [&] {
    for (int i = 0; i < 2; ++i) {
      if (Ui(*h.window).ListView2->topLevelItem(i)->text(0) == "many.xls") return i;
    }
    return -1;
  }();
  h.ClickWorkbook(many);
  QCOMPARE(Ui(*h.window).ListView3->topLevelItemCount(), 5003);
  QCOMPARE(Ui(*h.window).ListView3->topLevelItem(5002)->text(0), QString("S5003"));
  const int w = many + 1;
  QCOMPARE(h.window->Listing().Choices().Label(w, 5000), std::string("S5000"));
  QCOMPARE(h.window->Listing().Choices().Label(w, 5001), std::string());
  // Choices beyond the 5000th are not kept: the table shows 5000 again.
  Ui(*h.window).ListView3->topLevelItem(5001)->setCheckState(0, Qt::Unchecked);
  Ui(*h.window).ListView3->topLevelItem(4999)->setCheckState(0, Qt::Unchecked);
  h.ClickWorkbook(1 - many);
  h.ClickWorkbook(many);
  QCOMPARE(Ui(*h.window).ListView3->topLevelItemCount(), 5000);
  QVERIFY(!h.window->Listing().Choices().IsChosen(w, 5000));
  QCOMPARE(Ui(*h.window).ListView3->topLevelItem(4999)->checkState(0), Qt::Unchecked);
}

void SheetBrowserTest::failedOpenShowsBothMessagesAndQuits_data() {
  QTest::addColumn<bool>("noApplication");
  QTest::newRow("damaged workbook") << false;
  QTest::newRow("application cannot start") << true;
}

void SheetBrowserTest::failedOpenShowsBothMessagesAndQuits() {
  QFETCH(bool, noApplication);
  ListingHarness h;
  const std::string folder = h.Folder("books");
  h.Workbook("books/good.xls", {"Fine"});
  {
    // Compound-file signature, then nothing a reader can use.
    std::ofstream bad(h.Path("books/bad.xls"), std::ios::binary);
    bad << std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) << std::string(600, '\x7f');
  }
  h.AddFolder(folder);
  const int bad = Ui(*h.window).ListView2->topLevelItem(0)->text(0) == "bad.xls" ? 0 : 1;
  h.ClickWorkbook(1 - bad);
  h.stand_ins.messages.shown.clear();
  h.applications.record.fail_create = noApplication;

  h.ClickWorkbook(bad);

  const auto& shown = h.stand_ins.messages.shown;
  QCOMPARE(shown.size(), 2u);
  QVERIFY(!shown[0].text.empty());
  QCOMPARE(shown[0].icon, gui::MessageIcon::kCritical);
  if (noApplication) QCOMPARE(shown[0].text, std::string("ActiveX component can't create object"));
  QCOMPARE(shown[1].text, std::string("Excel file open failed!"));
  QCOMPARE(shown[1].icon, gui::MessageIcon::kCritical);
  QCOMPARE(h.applications.record.quit, h.applications.record.created);
  QCOMPARE(Ui(*h.window).ListView3->topLevelItemCount(), 0);
  QCOMPARE(h.window->Listing().ShownWorkbook(), bad + 1);
  QVERIFY(h.PointerIsDefault());
}

QTEST_MAIN(SheetBrowserTest)
#include "tst_sheet_browser.moc"
