// Renders the main window and the About box to PNG files for the docs:
//   render_screenshots MAIN.png ABOUT.png [SETTING.png]
// Run on the offscreen platform; the lists are filled with a few sample
// entries so the pictures show the icons and tick boxes.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QTreeWidget>
#include <cstdio>
#include <fstream>

#include "gui/about_box.h"
#include "gui/form1.h"
#include "gui/saved_lists.h"
#include "gui/setting_dialog.h"
#include "form_controls.h"
#include "test_doubles.h"

using dravella::testing::Ui;

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: render_screenshots MAIN.png ABOUT.png [SETTING.png]\n");
    return 2;
  }
  dravella::testing::TestServices stand_ins;
  // A fixed sample folder, so that renders of the same code compare equal.
  const std::filesystem::path samples =
      QDir::temp().filePath("Dravella samples").toStdString();
  std::filesystem::create_directories(samples / "Quarterly reports");
  std::ofstream(samples / "Sales 2024.xls") << "x";
  dravella::gui::WriteLines(stand_ins.SettingsFolder() / dravella::gui::kInputListFile,
                            {(samples / "Sales 2024.xls").string(),
                             (samples / "Quarterly reports").string(),
                             "/media/usb/Archive/Inventory.xls"});
  dravella::gui::WriteLines(stand_ins.SettingsFolder() / dravella::gui::kOutputListFile,
                            {"/home/user/dbf-output", "/srv/exports"});

  dravella::gui::Form1 window(stand_ins.Services());
  // Choosing the first input lists it in the workbook list; the sample is no
  // workbook, so the worksheets are filled in by hand.
  Ui(window).ListView1->setCurrentItem(Ui(window).ListView1->topLevelItem(0));
  for (const char* name : {"North", "South", "Summary"}) {
    auto* item = new QTreeWidgetItem(Ui(window).ListView3, {QString::fromLatin1(name)});
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    item->setCheckState(0, std::string(name) == "Summary" ? Qt::Unchecked : Qt::Checked);
  }
  window.show();
  if (!window.grab().save(QString::fromLocal8Bit(argv[1]))) return 1;

  dravella::gui::AboutBox about(stand_ins.shell);
  about.show();
  bool saved = about.grab().save(QString::fromLocal8Bit(argv[2]));
  if (argc == 4) {
    dravella::gui::WriteSettings(stand_ins.SettingsFolder(), true, false);
    dravella::gui::SettingDialog setting(stand_ins.SettingsFolder());
    setting.show();
    saved = setting.grab().save(QString::fromLocal8Bit(argv[3])) && saved;
  }
  std::error_code ignored;
  std::filesystem::remove_all(samples, ignored);
  return saved ? 0 : 1;
}
