// What the input-list and sheet-browser tests share: workbooks written by the
// project's builder into temporary folders, an application factory that
// counts what the window starts, opens and quits around the engine's own, and
// a window over those with scripted dialogs.
#pragma once

#include <QTemporaryDir>
#include <QTreeWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/automation_error.h"
#include "engine/object_model.h"
#include "gui/form1.h"
#include "test_doubles.h"
#include "tests/support/xls_builder.h"
#include "form_controls.h"

namespace dravella::testing {

// A BIFF8 workbook with these worksheets (one cell each) at path.
inline void WriteWorkbook(const std::filesystem::path& path, const std::vector<std::string>& sheets) {
  WorkbookBuilder book;
  for (const std::string& name : sheets) book.AddSheet(name).Number(0, 0, 1);
  std::filesystem::create_directories(path.parent_path());
  book.WriteTo(path);
}

// The bytes of a small workbook, for tests that need many copies.
inline std::vector<uint8_t> WorkbookBytes(const std::vector<std::string>& sheets) {
  WorkbookBuilder book;
  for (const std::string& name : sheets) book.AddSheet(name).Number(0, 0, 1);
  return book.Build();
}

// What one window did with the spreadsheet application.
struct ApplicationRecord {
  int created = 0;
  int quit = 0;
  std::vector<std::string> opened;  // workbook paths, in order
  int closed = 0;
  bool fail_create = false;
  // Runs when an application is asked for (the tests look at the pointer then).
  std::function<void()> on_create;
};

class RecordingWorkbook final : public engine::Workbook {
 public:
  RecordingWorkbook(std::shared_ptr<engine::Workbook> inner, ApplicationRecord& record)
      : inner_(std::move(inner)), record_(record) {}
  int32_t WorksheetsCount() override { return inner_->WorksheetsCount(); }
  std::shared_ptr<engine::Worksheet> Worksheets(int32_t index) override { return inner_->Worksheets(index); }
  void Close() override {
    ++record_.closed;
    inner_->Close();
  }

 private:
  std::shared_ptr<engine::Workbook> inner_;
  ApplicationRecord& record_;
};

class RecordingApplication final : public engine::Application {
 public:
  RecordingApplication(std::shared_ptr<engine::Application> inner, ApplicationRecord& record)
      : inner_(std::move(inner)), record_(record) {}
  std::shared_ptr<engine::Workbook> WorkbooksOpen(const std::string& path) override {
    record_.opened.push_back(path);
    return std::make_shared<RecordingWorkbook>(inner_->WorkbooksOpen(path), record_);
  }
  void SetDisplayAlerts(bool display) override { inner_->SetDisplayAlerts(display); }
  void SetTableCodePage(const std::string& code_page) override { inner_->SetTableCodePage(code_page); }
  void Quit() override {
    ++record_.quit;
    inner_->Quit();
  }

 private:
  std::shared_ptr<engine::Application> inner_;
  ApplicationRecord& record_;
};

// The engine's application, counted; or the failure to start one.
class RecordingApplicationFactory final : public engine::ApplicationFactory {
 public:
  ApplicationRecord record;

  std::shared_ptr<engine::Application> CreateObject(std::string_view class_name) override {
    if (record.on_create) record.on_create();
    if (record.fail_create) {
      throw engine::AutomationError(429, "ActiveX component can't create object");
    }
    ++record.created;
    return std::make_shared<RecordingApplication>(
        engine::EngineApplicationFactory().CreateObject(class_name), record);
  }
};

inline QStringList TextsOf(const QTreeWidget* list) {
  QStringList texts;
  for (int i = 0; i < list->topLevelItemCount(); ++i) texts << list->topLevelItem(i)->text(0);
  return texts;
}

// The items' ticks as a string of '1' (ticked) and '0'.
inline QString TicksOf(const QTreeWidget* list) {
  QString ticks;
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    ticks += list->topLevelItem(i)->checkState(0) == Qt::Checked ? QLatin1Char('1') : QLatin1Char('0');
  }
  return ticks;
}

inline QString SelectedText(const QTreeWidget* list) {
  const auto selected = list->selectedItems();
  return selected.isEmpty() ? QString() : selected.first()->text(0);
}

// A window over scripted dialogs, recorded messages and a counted engine.
struct ListingHarness {
  TestServices stand_ins;
  RecordingApplicationFactory applications;
  QTemporaryDir files;
  std::unique_ptr<gui::Form1> window;

  ListingHarness() {
    window = std::make_unique<gui::Form1>(
        gui::WindowServices{stand_ins.messages, stand_ins.shell, stand_ins.dialogs,
                            stand_ins.ProgramFolder(), stand_ins.SettingsFolder(), applications});
    // Shown, so clicks and keys reach the controls as a user's would.
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) qFatal("the test window was not shown");
  }
  std::filesystem::path Path(const std::string& relative) const {
    return std::filesystem::path(files.path().toStdString()) / relative;
  }
  std::string Workbook(const std::string& relative,
                       const std::vector<std::string>& sheets = {"Sheet1"}) {
    WriteWorkbook(Path(relative), sheets);
    return Path(relative).string();
  }
  std::string Folder(const std::string& relative) {
    std::filesystem::create_directories(Path(relative));
    return Path(relative).string();
  }
  void AddExcel(const std::string& file) {
    stand_ins.dialogs.file_answers.push_back(file);
    Click(Ui(*window).Command1);
  }
  void AddFolder(const std::string& folder) {
    stand_ins.dialogs.folder_answers.push_back(folder);
    Click(Ui(*window).Command5);
  }
  // Real clicks on a row: the current entry moves as under the mouse.
  void ClickWorkbook(int row) {
    ClickRow(Ui(*window).ListView2, row);
  }
  void ClickInput(int row) {
    ClickRow(Ui(*window).ListView1, row);
  }
  qint64 IconKeyOf(int row) const { return Ui(*window).ListView1->topLevelItem(row)->icon(0).cacheKey(); }
  qint64 ImageKey(int image) const { return Ui(*window).ImageList1->Image(image).cacheKey(); }
  bool PointerIsDefault() const { return window->cursor().shape() == Qt::ArrowCursor; }
};

}  // namespace dravella::testing
