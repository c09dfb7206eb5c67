// CCommonDialogs against a scripted dialog system: the records each Show
// operation builds, and how the answers are read back into the properties.
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <stdexcept>

#include "dialogs/common_dialogs.h"
#include "dialogs/filter_list.h"
#include "dialogs/mul_div.h"
#include "test_doubles.h"

using dravella::dialogs::CCommonDialogs;
using dravella::testing::ScriptedDialogSystem;
namespace dialogs = dravella::dialogs;

namespace {

const dialogs::WindowHandle kOwner = reinterpret_cast<dialogs::WindowHandle>(0x1234);

std::string Nul() { return std::string(1, '\0'); }

}  // namespace

class CommonDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void freshObjectIsEmpty();
  void getsCutAtFirstNul();
  void mulDivRounds_data();
  void mulDivRounds();

  void openRecordOfFreshObject();
  void openPassesTitleDefExtAndFileName();
  void openReadsChosenFileBack();
  void openCancelKeepsProperties();
  void openRejectsOverlongFileNameBeforeDialog();

  void saveSettlesInitialFolder_data();
  void saveSettlesInitialFolder();
  void saveBuildsFilterAndRecord_data();
  void saveBuildsFilterAndRecord();
  void saveReadsChosenFileBack();

  void folderRecordAndResult();
  void folderCancelOrNoPathChangesNothing();

  void colorRecord_data();
  void colorRecord();
  void colorCancelKeepsColor();

  void fontRecordFromProperties();
  void fontHeightFollowsScreen_data();
  void fontHeightFollowsScreen();
  void fontReadsAnswerBack();
  void fontCutsLongFaceNameAtCharacter();
  void fontNeverThrows();

  void printerRecord();
  void printerProperties();
};

void CommonDialogsTest::freshObjectIsEmpty() {
  ScriptedDialogSystem system;
  CCommonDialogs dialog(system);
  QCOMPARE(dialog.FileTitle(), std::string());
  QCOMPARE(dialog.Path(), std::string());
  QCOMPARE(dialog.Filter(), std::string());
  QCOMPARE(dialog.FileName(), std::string());
  QCOMPARE(dialog.Color(), 0);
  QCOMPARE(dialog.Title(), std::string());
  QCOMPARE(dialog.DefExt(), std::string());
  QCOMPARE(dialog.FontName(), std::string());
  QCOMPARE(dialog.FontSize(), std::int16_t{0});
  QVERIFY(!dialog.FontBold() && !dialog.FontItalic() && !dialog.FontUnderline());
}

void CommonDialogsTest::getsCutAtFirstNul() {
  ScriptedDialogSystem system;
  CCommonDialogs dialog(system);
  const std::string with_nul = "abc" + Nul() + "def";
  dialog.SetTitle(with_nul);
  dialog.SetPath(with_nul);
  dialog.SetFileTitle(with_nul);
  dialog.SetFileName(with_nul);
  dialog.SetFilter(with_nul);
  dialog.SetDefExt(with_nul);
  dialog.SetFontName(with_nul);
  QCOMPARE(dialog.Title(), std::string("abc"));
  QCOMPARE(dialog.Path(), std::string("abc"));
  QCOMPARE(dialog.FileTitle(), std::string("abc"));
  QCOMPARE(dialog.FileName(), std::string("abc"));
  // These three are returned as they were set.
  QCOMPARE(dialog.Filter(), with_nul);
  QCOMPARE(dialog.DefExt(), with_nul);
  QCOMPARE(dialog.FontName(), with_nul);
}

void CommonDialogsTest::mulDivRounds_data() {
  QTest::addColumn<int>("number");
  QTest::addColumn<int>("numerator");
  QTest::addColumn<int>("denominator");
  QTest::addColumn<int>("expected");
  QTest::newRow("10 pt at 96 dpi") << 10 << 96 << 72 << 13;
  QTest::newRow("10 pt at 120 dpi") << 10 << 120 << 72 << 17;
  QTest::newRow("half rounds up") << 1 << 1 << 2 << 1;
  QTest::newRow("negative half rounds away") << -1 << 1 << 2 << -1;
  QTest::newRow("negative divisor") << 10 << 96 << -72 << -13;
  QTest::newRow("large product") << 2000000000 << 3 << 4 << 1500000000;
  QTest::newRow("zero denominator") << 5 << 5 << 0 << -1;
  QTest::newRow("overflow") << 2000000000 << 2 << 1 << -1;
}

void CommonDialogsTest::mulDivRounds() {
  QFETCH(int, number);
  QFETCH(int, numerator);
  QFETCH(int, denominator);
  QFETCH(int, expected);
  QCOMPARE(dialogs::MulDiv(number, numerator, denominator), expected);
}

void CommonDialogsTest::openRecordOfFreshObject() {
  ScriptedDialogSystem system;
  CCommonDialogs dialog(system);
  dialog.Init(kOwner);
  dialog.SetFilter("Ignored|*.txt");
  QVERIFY(!dialog.ShowOpen());

  QCOMPARE(system.open_records.size(), std::size_t{1});
  const dialogs::OpenFileNameRecord& record = system.open_records[0];
  QCOMPARE(record.lStructSize, 76u);
  QCOMPARE(record.hwndOwner, kOwner);
  QCOMPARE(record.hInstance, dialogs::InstanceHandle{0x400000});
  QCOMPARE(system.filters_in[0], "Excel files(*.xls)" + Nul() + "*.xls" + Nul());
  QCOMPARE(record.nFilterIndex, 0u);
  // The longest path the platform accepts, in blanks, and the terminator.
  QCOMPARE(record.nMaxFile, dialogs::kMaxPath + 1);
  QCOMPARE(record.nMaxFileTitle, dialogs::kMaxPath + 1);
  QCOMPARE(system.file_buffers_in[0], std::string(dialogs::kMaxPath, ' ') + Nul());
  QCOMPARE(system.title_buffers_in[0], std::string(dialogs::kMaxPath, ' ') + Nul());
  QCOMPARE(system.initial_dirs_in[0], std::string("<none>"));
  QVERIFY(!system.titles_in[0].has_value());
  QVERIFY(!system.def_exts_in[0].has_value());
  QCOMPARE(record.Flags, 0x201004u);
  QVERIFY(record.lpstrCustomFilter == nullptr);
}

void CommonDialogsTest::openPassesTitleDefExtAndFileName() {
  ScriptedDialogSystem system;
  CCommonDialogs dialog(system);
  dialog.SetTitle("Select Excel File");
  dialog.SetDefExt("xls");
  dialog.SetFileName("/data/start.xls");
  dialog.ShowOpen();
  QCOMPARE(system.titles_in[0], std::optional<std::string>("Select Excel File"));
  QCOMPARE(system.def_exts_in[0], std::optional<std::string>("xls"));
  const std::string initial = "/data/start.xls";
  QCOMPARE(system.file_buffers_in[0], initial + std::string(dialogs::kMaxPath - initial.size(), ' ') + Nul());
}

void CommonDialogsTest::openReadsChosenFileBack() {
  ScriptedDialogSystem system;
  system.file_answers = {std::string("/data/book.xls")};
  CCommonDialogs dialog(system);
  QVERIFY(dialog.ShowOpen());
  QCOMPARE(dialog.FileName(), std::string("/data/book.xls"));
  QCOMPARE(dialog.Path(), std::string("/data"));
  QCOMPARE(dialog.FileTitle(), std::string("book.xls"));
}

void CommonDialogsTest::openCancelKeepsProperties() {
  ScriptedDialogSystem system;
  system.file_answers = {std::nullopt};
  CCommonDialogs dialog(system);
  dialog.SetFileName("/keep/name.xls");
  dialog.SetPath("/keep");
  dialog.SetFileTitle("name.xls");
  QVERIFY(!dialog.ShowOpen());
  QCOMPARE(dialog.FileName(), std::string("/keep/name.xls"));
  QCOMPARE(dialog.Path(), std::string("/keep"));
  QCOMPARE(dialog.FileTitle(), std::string("name.xls"));
}

void CommonDialogsTest::openRejectsOverlongFileNameBeforeDialog() {
  ScriptedDialogSystem system;
  CCommonDialogs dialog(system);
  dialog.SetFileName(std::string(dialogs::kMaxPath + 1, 'a'));
  QVERIFY_THROWS_EXCEPTION(std::invalid_argument, dialog.ShowOpen());
  QVERIFY(system.open_records.empty());

  // A Windows MAX_PATH is no limit here: 300 bytes pass, as does the longest.
  for (const std::uint32_t size : {std::uint32_t{300}, dialogs::kMaxPath}) {
    dialog.SetFileName(std::string(size, 'a'));
    QVERIFY(!dialog.ShowOpen());
    QCOMPARE(system.file_buffers_in.back(),
             std::string(size, 'a') + std::string(dialogs::kMaxPath - size, ' ') + Nul());
  }
}

void CommonDialogsTest::saveSettlesInitialFolder_data() {
  QTest::addColumn<QString>("path");  // "@" stands for an existing folder
  QTest::addColumn<QString>("expected");
  QTest::newRow("blanks only") << "   " << "/opt/dravella";
  QTest::newRow("empty") << "" << "/opt/dravella";
  QTest::newRow("missing folder") << "/no/such/folder" << "/opt/dravella";
  QTest::newRow("existing folder") << "@" << "@/";
  QTest::newRow("existing folder with separator") << "@/" << "@/";
}

void CommonDialogsTest::saveSettlesInitialFolder() {
  QFETCH(QString, path);
  QFETCH(QString, expected);
  QTemporaryDir existing;
  path.replace("@", existing.path());
  expected.replace("@", existing.path());

  ScriptedDialogSystem system;
  system.file_answers = {std::nullopt};
  CCommonDialogs dialog(system);
  dialog.SetPath(path.toStdString());
  QVERIFY(!dialog.ShowSave());
  QCOMPARE(system.initial_dirs_in[0], expected.toStdString());
  // Cancelled, and the caller still sees the folder it was settled to.
  QCOMPARE(dialog.Path(), expected.toStdString());
}

void CommonDialogsTest::saveBuildsFilterAndRecord_data() {
  QTest::addColumn<QString>("filter");
  QTest::addColumn<QStringList>("pieces");
  QTest::newRow("two types") << "Text (*.txt)|*.txt|All|*.*"
                             << QStringList{"Text (*.txt)", "*.txt", "All", "*.*"};
  QTest::newRow("empty") << "" << QStringList{"*.*", "*.*"};
  QTest::newRow("blanks only") << "   " << QStringList{"*.*", "*.*"};
}

void CommonDialogsTest::saveBuildsFilterAndRecord() {
  QFETCH(QString, filter);
  QFETCH(QStringList, pieces);
  ScriptedDialogSystem system;
  CCommonDialogs dialog(system);
  dialog.Init(kOwner);
  dialog.SetFilter(filter.toStdString());
  dialog.SetTitle("Not used");
  dialog.SetDefExt("Not used");
  dialog.ShowSave();

  std::string expected_list;
  for (const QString& piece : pieces) expected_list += piece.toStdString() + Nul();
  QCOMPARE(system.filters_in[0], expected_list);
  const dialogs::OpenFileNameRecord& record = system.save_records[0];
  QCOMPARE(record.lStructSize, 76u);
  QCOMPARE(record.hwndOwner, kOwner);
  QCOMPARE(record.nFilterIndex, 1u);
  QCOMPARE(record.nMaxFile, 255u);
  QCOMPARE(record.nMaxFileTitle, 256u);
  QCOMPARE(system.file_buffers_in[0], std::string(255, '\0'));
  QCOMPARE(system.title_buffers_in[0], std::string(256, '\0'));
  QCOMPARE(system.titles_in[0], std::optional<std::string>("Save"));
  // No overwrite prompt; a present but empty default extension.
  QCOMPARE(record.Flags, 0x200004u);
  QCOMPARE(system.def_exts_in[0], std::optional<std::string>(""));
}

void CommonDialogsTest::saveReadsChosenFileBack() {
  ScriptedDialogSystem system;
  system.file_answers = {std::string("/out/report.txt")};
  CCommonDialogs dialog(system);
  QVERIFY(dialog.ShowSave());
  QCOMPARE(dialog.FileName(), std::string("/out/report.txt"));
  QCOMPARE(dialog.Path(), std::string("/out"));
  QCOMPARE(dialog.FileTitle(), std::string("report.txt"));
}

void CommonDialogsTest::folderRecordAndResult() {
  ScriptedDialogSystem system;
  system.folder_answers = {std::string("/out")};
  CCommonDialogs dialog(system);
  dialog.Init(kOwner);
  dialog.SetTitle("Output Folder");
  dialog.SetFileName("/old/file.xls");
  dialog.SetFileTitle("file.xls");
  QVERIFY(dialog.ShowFolder());

  const dialogs::BrowseInfoRecord& info = system.browse_records[0];
  QCOMPARE(info.hwndOwner, kOwner);
  QVERIFY(info.pidlRoot == nullptr);
  QVERIFY(info.pszDisplayName == nullptr);
  QCOMPARE(system.browse_titles_in[0], std::string("Output Folder"));
  QCOMPARE(info.ulFlags, 3u);
  QVERIFY(info.lpfn == nullptr);
  QCOMPARE(info.iImage, 0);

  QCOMPARE(dialog.Path(), std::string("/out"));
  QCOMPARE(dialog.FileName(), std::string());
  QCOMPARE(dialog.FileTitle(), std::string());
}

void CommonDialogsTest::folderCancelOrNoPathChangesNothing() {
  ScriptedDialogSystem system;
  // Cancelled, then an item without a file-system path.
  system.folder_answers = {std::nullopt, std::string(dialogs::kMaxPath, 'x')};
  CCommonDialogs dialog(system);
  dialog.SetPath("/keep");
  dialog.SetFileName("/keep/a.xls");
  dialog.SetFileTitle("a.xls");
  for (int attempt = 0; attempt < 2; ++attempt) {
    QVERIFY(!dialog.ShowFolder());
    QCOMPARE(dialog.Path(), std::string("/keep"));
    QCOMPARE(dialog.FileName(), std::string("/keep/a.xls"));
    QCOMPARE(dialog.FileTitle(), std::string("a.xls"));
  }
}

void CommonDialogsTest::colorRecord_data() {
  QTest::addColumn<bool>("full_open");
  QTest::addColumn<uint>("flags");
  QTest::newRow("small form") << false << 1u;
  QTest::newRow("custom part open") << true << 3u;
}

void CommonDialogsTest::colorRecord() {
  QFETCH(bool, full_open);
  QFETCH(uint, flags);
  ScriptedDialogSystem system;
  system.color_answers = {0x00FF8040u, std::nullopt};
  CCommonDialogs dialog(system);
  dialog.Init(kOwner);
  dialog.SetColor(0x000000FF);
  QVERIFY(dialog.ShowColor(full_open));
  QCOMPARE(dialog.Color(), 0x00FF8040);

  const dialogs::ChooseColorRecord& record = system.color_records[0];
  QCOMPARE(record.lStructSize, 36u);
  QCOMPARE(record.hwndOwner, kOwner);
  QCOMPARE(record.rgbResult, 0x000000FFu);
  QCOMPARE(record.Flags, flags);
  QCOMPARE(system.custom_colors_in[0], std::vector<std::uint32_t>(16, 0));

  // A second call starts with a new, empty table of custom colours again.
  dialog.ShowColor(full_open);
  QCOMPARE(system.custom_colors_in[1], std::vector<std::uint32_t>(16, 0));
  QCOMPARE(system.color_records[1].rgbResult, 0x00FF8040u);
}

void CommonDialogsTest::colorCancelKeepsColor() {
  ScriptedDialogSystem system;
  system.color_answers = {std::nullopt};
  CCommonDialogs dialog(system);
  dialog.SetColor(0x123456);
  QVERIFY(!dialog.ShowColor(false));
  QCOMPARE(dialog.Color(), 0x123456);
}

void CommonDialogsTest::fontRecordFromProperties() {
  ScriptedDialogSystem system;
  system.printer_context = 0xD00D;
  CCommonDialogs dialog(system);
  dialog.Init(kOwner);
  dialog.SetFontName("Liberation Sans");
  dialog.SetFontSize(10);
  dialog.SetFontBold(true);
  dialog.SetFontItalic(true);
  dialog.SetFontUnderline(true);
  dialog.SetColor(0x00112233);
  QVERIFY(!dialog.ShowFont());

  const dialogs::LogFontRecord& font = system.log_fonts_in[0];
  QCOMPARE(std::string(font.lfFaceName), std::string("Liberation Sans"));
  QCOMPARE(font.lfHeight, -13);
  QCOMPARE(font.lfWeight, 700);
  QCOMPARE(int(font.lfItalic), 1);
  QCOMPARE(int(font.lfUnderline), 1);
  QCOMPARE(font.lfWidth, 0);
  QCOMPARE(int(font.lfCharSet), 0);

  const dialogs::ChooseFontRecord& record = system.font_records[0];
  QCOMPARE(record.lStructSize, 60u);
  QCOMPARE(record.hwndOwner, kOwner);
  QCOMPARE(record.hDC, dialogs::DeviceContext{0xD00D});
  QCOMPARE(record.iPointSize, 0);
  QCOMPARE(record.Flags, 0x10043u);
  QCOMPARE(record.rgbColors, 0x00112233u);

  // Plain, with no printer: weight 0, no italic or underline, no context.
  system.printer_context = 0;
  dialog.SetFontBold(false);
  dialog.SetFontItalic(false);
  dialog.SetFontUnderline(false);
  dialog.ShowFont();
  QCOMPARE(system.log_fonts_in[1].lfWeight, 0);
  QCOMPARE(int(system.log_fonts_in[1].lfItalic), 0);
  QCOMPARE(int(system.log_fonts_in[1].lfUnderline), 0);
  QCOMPARE(system.font_records[1].hDC, dialogs::DeviceContext{0});
}

void CommonDialogsTest::fontHeightFollowsScreen_data() {
  QTest::addColumn<int>("points");
  QTest::addColumn<int>("dpi");
  QTest::addColumn<int>("height");
  QTest::newRow("10 pt at 96 dpi") << 10 << 96 << -13;
  QTest::newRow("9 pt at 96 dpi") << 9 << 96 << -12;
  QTest::newRow("10 pt at 120 dpi") << 10 << 120 << -17;
  QTest::newRow("no size") << 0 << 96 << 0;
}

void CommonDialogsTest::fontHeightFollowsScreen() {
  QFETCH(int, points);
  QFETCH(int, dpi);
  QFETCH(int, height);
  ScriptedDialogSystem system;
  system.log_pixels_y = dpi;
  CCommonDialogs dialog(system);
  dialog.SetFontSize(static_cast<std::int16_t>(points));
  dialog.ShowFont();
  QCOMPARE(system.log_fonts_in[0].lfHeight, height);
}

void CommonDialogsTest::fontReadsAnswerBack() {
  ScriptedDialogSystem system;
  system.font_answers = {
      ScriptedDialogSystem::FontAnswer{"DejaVu Serif", 105, dialogs::BOLD_FONTTYPE},
      ScriptedDialogSystem::FontAnswer{"Liberation Mono", 120, dialogs::ITALIC_FONTTYPE},
      std::nullopt};
  CCommonDialogs dialog(system);
  dialog.SetFontUnderline(true);
  dialog.SetColor(0x0000FF);

  QVERIFY(dialog.ShowFont());
  QCOMPARE(dialog.FontName(), std::string("DejaVu Serif"));
  QCOMPARE(dialog.FontSize(), std::int16_t{10});  // 10.5 pt, the half dropped
  QVERIFY(dialog.FontBold());
  QVERIFY(!dialog.FontItalic());
  // Whatever was chosen, underline and colour stay.
  QVERIFY(dialog.FontUnderline());
  QCOMPARE(dialog.Color(), 0x0000FF);

  QVERIFY(dialog.ShowFont());
  QCOMPARE(dialog.FontName(), std::string("Liberation Mono"));
  QCOMPARE(dialog.FontSize(), std::int16_t{12});
  QVERIFY(!dialog.FontBold());
  QVERIFY(dialog.FontItalic());

  QVERIFY(!dialog.ShowFont());
  QCOMPARE(dialog.FontName(), std::string("Liberation Mono"));
}

void CommonDialogsTest::fontCutsLongFaceNameAtCharacter() {
  ScriptedDialogSystem system;
  CCommonDialogs dialog(system);
  // 30 ASCII letters and an "é" (two bytes) would need 32 bytes: the "é" goes.
  dialog.SetFontName(std::string(30, 'F') + "\xC3\xA9" + "more");
  dialog.ShowFont();
  QCOMPARE(std::string(system.log_fonts_in[0].lfFaceName), std::string(30, 'F'));

  dialog.SetFontName(std::string(40, 'G'));
  dialog.ShowFont();
  QCOMPARE(std::string(system.log_fonts_in[1].lfFaceName), std::string(31, 'G'));
}

void CommonDialogsTest::fontNeverThrows() {
  ScriptedDialogSystem system;
  system.choose_font_throws = true;
  CCommonDialogs dialog(system);
  dialog.SetFontName("Keep");
  bool shown = true;
  try {
    shown = dialog.ShowFont();
  } catch (...) {
    QFAIL("ShowFont let an error through");
  }
  QVERIFY(!shown);
  QCOMPARE(dialog.FontName(), std::string("Keep"));
}

void CommonDialogsTest::printerRecord() {
  ScriptedDialogSystem system;
  system.print_answers = {1, 0};
  CCommonDialogs dialog(system);
  dialog.Init(kOwner);
  QVERIFY(dialog.ShowPrinter());
  QVERIFY(!dialog.ShowPrinter());
  const dialogs::PrintDlgRecord& record = system.print_records[0];
  QCOMPARE(record.lStructSize, 66u);
  QCOMPARE(record.hwndOwner, kOwner);
  QCOMPARE(record.Flags, 0x10000Cu);
  QCOMPARE(record.hDevMode, std::uintptr_t{0});
  QCOMPARE(record.nCopies, std::uint16_t{0});
}

void CommonDialogsTest::printerProperties() {
  {
    // No printer: nothing is opened or shown.
    ScriptedDialogSystem system;
    CCommonDialogs dialog(system);
    QVERIFY(!dialog.ShowPrinterProperties());
    QVERIFY(system.opened_printers.empty());
    QVERIFY(system.properties_owners.empty());
  }
  {
    ScriptedDialogSystem system;
    system.default_printer = "Office";
    system.properties_answers = {1, 0};
    CCommonDialogs dialog(system);
    dialog.Init(kOwner);
    QVERIFY(dialog.ShowPrinterProperties());
    QVERIFY(!dialog.ShowPrinterProperties());
    QCOMPARE(system.opened_printers, (std::vector<std::string>{"Office", "Office"}));
    QCOMPARE(system.printer_defaults[0].DesiredAccess, 0xF0008u);
    QVERIFY(system.printer_defaults[0].pDatatype == nullptr);
    QVERIFY(system.printer_defaults[0].pDevMode == nullptr);
    QCOMPARE(system.properties_owners[0], kOwner);
    QCOMPARE(system.closed_printers, 2);
  }
  {
    // The printer cannot be opened: no property sheet, nothing to close.
    ScriptedDialogSystem system;
    system.default_printer = "Gone";
    system.printer_opens = false;
    CCommonDialogs dialog(system);
    QVERIFY(!dialog.ShowPrinterProperties());
    QVERIFY(system.properties_owners.empty());
    QCOMPARE(system.closed_printers, 0);
  }
}

QTEST_GUILESS_MAIN(CommonDialogsTest)
#include "tst_common_dialogs.moc"
