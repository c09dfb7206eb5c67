// Converts one workbook through the main window's Convert command, as the
// benchmark bench/gui_convert_bench.py times it against dravbatch.
//
//   window_convert WORKBOOK OUTPUT_FOLDER
//
// The workbook is the selected input, listed and ticked; OUTPUT_FOLDER is
// typed into the output field (created when missing); dBASE IV and names
// after the worksheet, the window's defaults. Message boxes and the shell are
// recorded, not shown. Prints the time Convert took; exit status 0 when it
// showed no message.
#include <QApplication>
#include <QComboBox>
#include <QTreeWidget>
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "gui/form1.h"
#include "test_doubles.h"
#include "form_controls.h"

using dravella::testing::Click;
using dravella::testing::Ui;

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: window_convert WORKBOOK OUTPUT_FOLDER\n");
    return 2;
  }
  namespace fs = std::filesystem;
  const fs::path workbook = fs::absolute(argv[1]);

  dravella::testing::TestServices services;
  dravella::gui::Form1 form(services.Services());
  form.show();

  auto* input = new QTreeWidgetItem(Ui(form).ListView1, {QString::fromStdString(workbook.string())});
  Ui(form).ListView1->setCurrentItem(input);
  // Choosing the input lists its workbook; tick that entry (adding a second
  // one would convert the workbook twice).
  QTreeWidget* workbooks = Ui(form).ListView2;
  if (workbooks->topLevelItemCount() != 1) {
    std::fprintf(stderr, "the input lists %d workbooks, not 1\n", workbooks->topLevelItemCount());
    return 2;
  }
  workbooks->topLevelItem(0)->setCheckState(0, Qt::Checked);
  Ui(form).Combo5->setEditText(QString::fromStdString(fs::absolute(argv[2]).string()));

  const auto started = std::chrono::steady_clock::now();
  Click(Ui(form).Command6);
  const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - started;
  std::printf("Convert took %.0f ms\n", took.count());

  for (const auto& message : services.messages.shown) {
    std::fprintf(stderr, "message: %s\n", message.text.c_str());
  }
  return services.messages.shown.empty() ? 0 : 1;
}
