// The saved lists and settings: reading and writing set.txt, EXCEL.txt and
// output.txt, the Setting dialog, and where the files live.
#include <sys/resource.h>
#include <unistd.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <fstream>
#include <iterator>

#include "gui/form1.h"
#include "gui/saved_lists.h"
#include "gui/setting_dialog.h"
#include "gui/settings_folder.h"
#include "test_doubles.h"

namespace gui = dravella::gui;
using Lines = std::vector<std::string>;

namespace {

std::filesystem::path PathOf(const QTemporaryDir& dir) { return dir.path().toStdString(); }

void WriteText(const std::filesystem::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
}

std::string FileText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

Q_DECLARE_METATYPE(Lines)

class SavedListsTest : public QObject {
  Q_OBJECT

 private slots:
  void readLines_data();
  void readLines();
  void missingFilesReadAsEmpty();
  void saveFollowsSettings_data();
  void saveFollowsSettings();
  void emptyInputListLeavesEmptyFile();
  void outputListKeepsFirst201Entries();
  void restoredListsKeepDuplicatesAndOrder();
  void failedSaveKeepsTheLastFileAndIsReported();

  void dialogShowsSavedState_data();
  void dialogShowsSavedState();
  void dialogWritesOnlyOnOk();

  void settingsFolderFallsBackToUserFolder();
};

void SavedListsTest::readLines_data() {
  QTest::addColumn<QByteArray>("content");
  QTest::addColumn<Lines>("lines");
  QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << Lines{"a", "b"};
  QTest::newRow("LF only") << QByteArray("a\nb\n") << Lines{"a", "b"};
  QTest::newRow("no final line end") << QByteArray("a\r\nb") << Lines{"a", "b"};
  QTest::newRow("empty line kept") << QByteArray("a\r\n\r\nb\r\n") << Lines{"a", "", "b"};
  QTest::newRow("empty file") << QByteArray("") << Lines{};
  QTest::newRow("one empty line") << QByteArray("\r\n") << Lines{""};
  QTest::newRow("blanks kept") << QByteArray(" 1 \r\n") << Lines{" 1 "};
  QTest::newRow("byte-order mark dropped") << QByteArray("\xEF\xBB\xBF" "1\r\n") << Lines{"1"};
  QTest::newRow("UTF-8 path") << QByteArray("/d/\xC3\xA9t\xC3\xA9.xls\r\n") << Lines{"/d/\xC3\xA9t\xC3\xA9.xls"};
}

void SavedListsTest::readLines() {
  QFETCH(QByteArray, content);
  QFETCH(Lines, lines);
  QTemporaryDir dir;
  const auto file = PathOf(dir) / "list.txt";
  WriteText(file, content.toStdString());
  QCOMPARE(gui::ReadLines(file), lines);
}

void SavedListsTest::missingFilesReadAsEmpty() {
  QTemporaryDir dir;
  const gui::SavedLists lists = gui::RestoreLists(PathOf(dir));
  QVERIFY(lists.inputs.empty());
  QVERIFY(lists.outputs.empty());
  // No set.txt: both settings off, nothing written.
  gui::SaveLists(PathOf(dir), {{"/a.xls"}, {"/out"}});
  QVERIFY(!std::filesystem::exists(PathOf(dir) / gui::kInputListFile));
  QVERIFY(!std::filesystem::exists(PathOf(dir) / gui::kOutputListFile));
}

void SavedListsTest::saveFollowsSettings_data() {
  QTest::addColumn<QByteArray>("settings");
  QTest::addColumn<bool>("inputs_written");
  QTest::addColumn<bool>("outputs_written");
  QTest::newRow("both on") << QByteArray("1\r\n1\r\n") << true << true;
  QTest::newRow("inputs only") << QByteArray("1\r\n0\r\n") << true << false;
  QTest::newRow("outputs only") << QByteArray("0\r\n1\r\n") << false << true;
  QTest::newRow("LF line ends") << QByteArray("1\n1\n") << true << true;
  QTest::newRow("one line") << QByteArray("1\r\n") << true << false;
  QTest::newRow("empty") << QByteArray("") << false << false;
  QTest::newRow("blank after 1") << QByteArray("1 \r\n1\r\n") << false << true;
  QTest::newRow("blank before 1") << QByteArray(" 1\r\n1\r\n") << false << true;
  QTest::newRow("empty first line") << QByteArray("\r\n1\r\n") << false << true;
  QTest::newRow("other number") << QByteArray("2\r\n11\r\n") << false << false;
}

void SavedListsTest::saveFollowsSettings() {
  QFETCH(QByteArray, settings);
  QFETCH(bool, inputs_written);
  QFETCH(bool, outputs_written);
  QTemporaryDir dir;
  const auto folder = PathOf(dir);
  WriteText(folder / gui::kSettingsFile, settings.toStdString());
  WriteText(folder / gui::kInputListFile, "old input\r\n");
  WriteText(folder / gui::kOutputListFile, "old output\r\n");

  gui::SaveLists(folder, {{"/in/a.xls", "/in/b"}, {"/out/x"}});
  QCOMPARE(FileText(folder / gui::kInputListFile),
           std::string(inputs_written ? "/in/a.xls\r\n/in/b\r\n" : "old input\r\n"));
  QCOMPARE(FileText(folder / gui::kOutputListFile),
           std::string(outputs_written ? "/out/x\r\n" : "old output\r\n"));
}

void SavedListsTest::emptyInputListLeavesEmptyFile() {
  QTemporaryDir dir;
  const auto folder = PathOf(dir);
  gui::WriteSettings(folder, true, true);
  WriteText(folder / gui::kInputListFile, "old\r\n");
  gui::SaveLists(folder, {});
  QCOMPARE(FileText(folder / gui::kInputListFile), std::string());
  QVERIFY(gui::RestoreLists(folder).inputs.empty());
}

void SavedListsTest::outputListKeepsFirst201Entries() {
  QTemporaryDir dir;
  const auto folder = PathOf(dir);
  gui::WriteSettings(folder, false, true);
  Lines outputs;
  for (int i = 0; i < 250; ++i) outputs.push_back("/out/" + std::to_string(i));
  gui::SaveLists(folder, {{}, outputs});
  const Lines saved = gui::ReadLines(folder / gui::kOutputListFile);
  QCOMPARE(saved.size(), std::size_t{201});
  QCOMPARE(saved.front(), std::string("/out/0"));
  QCOMPARE(saved.back(), std::string("/out/200"));
}

void SavedListsTest::restoredListsKeepDuplicatesAndOrder() {
  QTemporaryDir dir;
  const auto folder = PathOf(dir);
  gui::WriteSettings(folder, true, true);
  const gui::SavedLists lists{{"/b.xls", "/a.xls", "/b.xls"}, {"/out", "/out"}};
  gui::SaveLists(folder, lists);
  QCOMPARE(FileText(folder / gui::kSettingsFile), std::string("1\r\n1\r\n1252\r\n"));
  const gui::SavedLists restored = gui::RestoreLists(folder);
  QCOMPARE(restored.inputs, lists.inputs);
  QCOMPARE(restored.outputs, lists.outputs);
}

void SavedListsTest::failedSaveKeepsTheLastFileAndIsReported() {
  QTemporaryDir dir;
  const auto missing = PathOf(dir) / "no-such-folder";
  QVERIFY(!gui::WriteLines(missing / "x.txt", {"a"}));
  QVERIFY(!gui::WriteSettings(missing, true, true));
  QVERIFY(!std::filesystem::exists(missing));

  // A disk that fills up while the list is written: the list saved last
  // stays whole, no temporary file is left, and the caller hears of it.
  const auto folder = PathOf(dir);
  WriteText(folder / "set.txt", "1\r\n0\r\n");
  WriteText(folder / "EXCEL.txt", "/saved/last.xls\r\n");
  std::vector<std::filesystem::path> failed;
  {
    rlimit old_limit{};
    getrlimit(RLIMIT_FSIZE, &old_limit);
    const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old_limit;
    small.rlim_cur = 64;
    setrlimit(RLIMIT_FSIZE, &small);
    failed = gui::SaveLists(folder, {Lines(20, "/a/long/enough/path/to/a/workbook.xls"), {}});
    setrlimit(RLIMIT_FSIZE, &old_limit);
    std::signal(SIGXFSZ, old_handler);
  }
  QCOMPARE(failed, std::vector<std::filesystem::path>{folder / "EXCEL.txt"});
  QCOMPARE(FileText(folder / "EXCEL.txt"), std::string("/saved/last.xls\r\n"));
  QCOMPARE(std::distance(std::filesystem::directory_iterator(folder), {}), 2);

  // The window names the list it could not save when it closes.
  std::filesystem::remove(folder / "EXCEL.txt");
  std::filesystem::create_directory(folder / "EXCEL.txt");
  dravella::testing::TestServices stand_ins;
  gui::WindowServices services = stand_ins.Services();
  services.settings_folder = folder;
  {
    gui::Form1 window(services);
    window.close();
  }
  QCOMPARE(stand_ins.messages.shown.size(), 1u);
  QVERIFY(stand_ins.messages.shown[0].text.find("EXCEL.txt") != std::string::npos);
  QCOMPARE(stand_ins.messages.shown[0].icon, gui::MessageIcon::kCritical);
}

void SavedListsTest::dialogShowsSavedState_data() {
  QTest::addColumn<QByteArray>("settings");  // "-" for no set.txt
  QTest::addColumn<bool>("check1");
  QTest::addColumn<bool>("check2");
  QTest::addColumn<QString>("code_page");
  QTest::newRow("no file") << QByteArray("-") << false << false << "1252";
  QTest::newRow("empty file") << QByteArray("") << false << false << "1252";
  QTest::newRow("one line") << QByteArray("1\r\n") << true << false << "1252";
  QTest::newRow("both on") << QByteArray("1\r\n1\r\n") << true << true << "1252";
  QTest::newRow("second on") << QByteArray("0\n1\n") << false << true << "1252";
  QTest::newRow("1 with a blank") << QByteArray("1 \r\n1\r\n") << false << true << "1252";
  QTest::newRow("code page") << QByteArray("1\r\n1\r\n936\r\n") << true << true << "936";
  QTest::newRow("code page spelled otherwise") << QByteArray("0\n0\nUTF-8\n") << false << false << "utf8";
  QTest::newRow("code page unknown") << QByteArray("0\n0\n1258\n") << false << false << "1252";
}

void SavedListsTest::dialogShowsSavedState() {
  QFETCH(QByteArray, settings);
  QFETCH(bool, check1);
  QFETCH(bool, check2);
  QFETCH(QString, code_page);
  QTemporaryDir dir;
  if (settings != "-") WriteText(PathOf(dir) / gui::kSettingsFile, settings.toStdString());
  gui::SettingDialog dialog(PathOf(dir));
  QCOMPARE(dialog.windowTitle(), QString("Setting"));
  QCOMPARE(dialog.Check1->text(), QString("Automatically save the current file"));
  QCOMPARE(dialog.Check2->text(), QString("Automatically save the output directory"));
  QCOMPARE(dialog.OKButton->text(), QString("OK"));
  QCOMPARE(dialog.CancelButton->text(), QString("Cancel"));
  QCOMPARE(dialog.OKButton->size(), dialog.CancelButton->size());
  QCOMPARE(dialog.Check1->isChecked(), check1);
  QCOMPARE(dialog.Check2->isChecked(), check2);
  QCOMPARE(dialog.CodePageLabel->text(), QString("Code page of the tables"));
  QCOMPARE(dialog.CodePageCombo->currentData().toString(), code_page);
  QCOMPARE(gui::SavedTableCodePage(PathOf(dir)), code_page.toStdString());
  QCOMPARE(dialog.CodePageCombo->count(), 24);
  QCOMPARE(dialog.CodePageCombo->itemText(dialog.CodePageCombo->findData("936")),
           QString("936 - Chinese Simplified (GBK)"));
}

void SavedListsTest::dialogWritesOnlyOnOk() {
  QTemporaryDir dir;
  const auto settings = PathOf(dir) / gui::kSettingsFile;
  WriteText(settings, "0\r\n1\r\n");
  {
    // Clicking the boxes writes nothing; Cancel neither.
    gui::SettingDialog dialog(PathOf(dir));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(dialog.Check1, Qt::LeftButton);
    QTest::mouseClick(dialog.Check2, Qt::LeftButton);
    QVERIFY(dialog.Check1->isChecked());
    QCOMPARE(FileText(settings), std::string("0\r\n1\r\n"));
    QTest::mouseClick(dialog.CancelButton, Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(FileText(settings), std::string("0\r\n1\r\n"));
  }
  {
    gui::SettingDialog dialog(PathOf(dir));
    QVERIFY(!dialog.Check1->isChecked());
    QVERIFY(dialog.Check2->isChecked());
    dialog.Check1->setChecked(true);
    dialog.Check2->setChecked(false);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(dialog.OKButton, Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(FileText(settings), std::string("1\r\n0\r\n1252\r\n"));
  }
  {
    // The code page is chosen from the keyboard: one down from 1252 is 1253.
    gui::SettingDialog dialog(PathOf(dir));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.CodePageCombo->setFocus();
    QTest::keyClick(dialog.CodePageCombo, Qt::Key_Down);
    QCOMPARE(FileText(settings), std::string("1\r\n0\r\n1252\r\n"));
    QTest::mouseClick(dialog.OKButton, Qt::LeftButton);
    QCOMPARE(FileText(settings), std::string("1\r\n0\r\n1253\r\n"));
  }
  gui::SettingDialog reopened(PathOf(dir));
  QVERIFY(reopened.Check1->isChecked());
  QVERIFY(!reopened.Check2->isChecked());
  QCOMPARE(reopened.CodePageCombo->currentText(), QString("1253 - Greek (Windows)"));
}

void SavedListsTest::settingsFolderFallsBackToUserFolder() {
  QTemporaryDir program;
  QTemporaryDir home;
  const auto user = PathOf(home) / "config" / "Dravella";
  // A folder the program can write to keeps the files beside the program.
  QCOMPARE(gui::SettingsFolderFor(PathOf(program), user), PathOf(program));
  QVERIFY(!std::filesystem::exists(user));
  QCOMPARE(std::distance(std::filesystem::directory_iterator(PathOf(program)),
                         std::filesystem::directory_iterator()),
           0);  // the write probe left nothing behind

  // A program folder that cannot hold files: the per-user folder, created.
  QCOMPARE(gui::SettingsFolderFor(PathOf(program) / "missing", user), user);
  QVERIFY(std::filesystem::is_directory(user));

  if (geteuid() != 0) {
    // A read-only install folder (the permission test means nothing to root).
    std::filesystem::permissions(PathOf(program), std::filesystem::perms::owner_read |
                                                      std::filesystem::perms::owner_exec);
    QCOMPARE(gui::SettingsFolderFor(PathOf(program), user), user);
    std::filesystem::permissions(PathOf(program), std::filesystem::perms::owner_all);
  }
}

QTEST_MAIN(SavedListsTest)
#include "tst_saved_lists.moc"
