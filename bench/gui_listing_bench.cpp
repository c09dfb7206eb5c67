// Times the sheet browser on a large workbook, from the click on a workbook
// in the window's workbook list to the worksheet list drawn again:
//
//   gui_listing_bench --input PATH [--runs N]
//
// PATH is the reader benchmark's workbook (bench_reader --write PATH makes
// it). Each run first clicks the input (not timed), which forgets the kept
// worksheet choices, so every click on the workbook starts the application,
// opens the workbook and reads its worksheet list; a mouse click goes to the
// list's viewport and the worksheet list is repainted synchronously before
// the clock stops. The goal is judged on CPU
// time and shown beside the wall clock; the steps below (from the table, the
// listing procedure alone, the object model alone; wall clock) show what
// dominates.
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <time.h>

#include <QApplication>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/workbook_listing.h"
#include "core/worksheet_names.h"
#include "gui/form1.h"
#include "tests/gui/test_doubles.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr double kGoalClickMs = 50;

// CPU time of the process: steadier than the wall clock on a shared machine.
double CpuMs() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

[[noreturn]] void Fail(const std::string& message) {
  std::fprintf(stderr, "gui_listing_bench: %s\n", message.c_str());
  std::exit(1);
}

template <typename Step>
std::vector<double> Times(int runs, Step step) {
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    step();
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::sort(ms.begin(), ms.end());
  return ms;
}

void Row(const char* step, const std::vector<double>& ms, bool with_goal) {
  const double median = ms[ms.size() / 2];
  std::printf("%-34s %8.2f ms %8.2f ms   %s\n", step, ms.front(), median,
              with_goal ? (median < kGoalClickMs ? "< 50 ms: met" : "< 50 ms: MISSED") : "");
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  fs::path input;
  int runs = 15;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--input" && i + 1 < argc) {
      input = argv[++i];
    } else if (arg == "--runs" && i + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++i]));
    } else {
      Fail("usage: gui_listing_bench --input PATH [--runs N]");
    }
  }
  if (input.empty() || !fs::is_regular_file(input)) Fail("--input names no workbook (bench_reader --write PATH makes one)");
  input = fs::absolute(input);

  dravella::testing::TestServices stand_ins;
  dravella::gui::Form1 window(stand_ins.Services());
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) Fail("the window was not shown");

  // The workbook as the only input, added with Add Excel; the workbook list
  // then holds its name.
  stand_ins.dialogs.file_answers.push_back(input.string());
  QTest::mouseClick(window.findChild<QPushButton*>("Command1"), Qt::LeftButton);
  QTreeWidget* inputs = window.findChild<QTreeWidget*>("ListView1");
  QTreeWidget* workbooks = window.findChild<QTreeWidget*>("ListView2");
  QTreeWidget* worksheets = window.findChild<QTreeWidget*>("ListView3");
  if (workbooks->topLevelItemCount() != 1) Fail("Add Excel listed no workbook");
  const QPoint on_entry = workbooks->visualItemRect(workbooks->topLevelItem(0)).center();
  const QPoint on_input = inputs->visualItemRect(inputs->topLevelItem(0)).center();
  // A click on the current input lists it afresh and forgets the kept choices.
  auto forget = [&] { QTest::mouseClick(inputs->viewport(), Qt::LeftButton, Qt::NoModifier, on_input); };

  auto click = [&] {
    QTest::mouseClick(workbooks->viewport(), Qt::LeftButton, Qt::NoModifier, on_entry);
    worksheets->viewport()->repaint();
  };
  click();  // once untimed: the first paint loads fonts and styles
  if (worksheets->topLevelItemCount() == 0 || !stand_ins.messages.shown.empty()) {
    Fail("the click listed no worksheets: " +
         (stand_ins.messages.shown.empty() ? std::string("no message") : stand_ins.messages.shown[0].text));
  }
  const int sheet_count = worksheets->topLevelItemCount();

  std::vector<double> click_ms;
  std::vector<double> click_cpu_ms;
  for (int i = 0; i < runs; ++i) {
    forget();
    const double cpu_start = CpuMs();
    const auto start = Clock::now();
    click();
    click_ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    click_cpu_ms.push_back(CpuMs() - cpu_start);
  }
  std::sort(click_ms.begin(), click_ms.end());
  std::sort(click_cpu_ms.begin(), click_cpu_ms.end());

  const auto from_table_ms = Times(runs, click);  // the table holds the workbook now
  // The listing rules alone, over a window of plain members.
  struct BareWindow final : dravella::core::ListingWindow {
    std::string input;
    std::vector<dravella::core::WorksheetRow> rows;
    std::string SelectedInputText() override { return input; }
    int32_t CurrentWorkbook() override { return 1; }
    std::string WorkbookEntryText(int32_t) override { return {}; }
    std::vector<dravella::core::WorksheetRow> ShownWorksheets() override { return rows; }
    void ShowWorksheets(const std::vector<dravella::core::WorksheetRow>& shown) override { rows = shown; }
    void ShowFailure(const std::string& text) override { Fail(text); }
  } bare;
  bare.input = input.string();
  const auto list_sheets_ms = Times(runs, [&] {
    dravella::core::WorksheetListing listing;
    listing.ListCurrent(bare, dravella::engine::EngineApplicationFactory(), false);
  });
  size_t names = 0;
  const auto object_model_ms = Times(runs, [&] {
    dravella::core::ReadWorksheetNames(dravella::engine::EngineApplicationFactory(), input.string(),
                                       [&](int32_t, const std::string&) { ++names; });
  });

  std::printf("workbook: %s, %.1f MB, %d worksheet(s); %d runs, platform %s\n", input.string().c_str(),
              fs::file_size(input) / 1048576.0, sheet_count, runs,
              qPrintable(QGuiApplication::platformName()));
  std::printf("%-34s %11s %11s   %s\n", "step", "best", "median", "goal");
  Row("click to redraw, CPU time", click_cpu_ms, true);
  Row("click to redraw, wall clock", click_ms, true);
  Row("click to redraw, from the table", from_table_ms, false);
  Row("listing rules alone, from file", list_sheets_ms, false);
  Row("open, list names, close, quit", object_model_ms, false);
  return names == 0 ? 2 : 0;
}
