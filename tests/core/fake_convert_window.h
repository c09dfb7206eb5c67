// A stand-in for the main window as the export and the Convert command see
// it: the lists and choices are plain members, and everything the command
// shows or moves is recorded in order.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/convert_batch.h"
#include "core/sheet_table.h"

namespace dravella::testing {

struct WorkbookEntry {
  std::string text;
  bool ticked = true;
};

struct ShownBox {
  std::string text;
  core::BoxIcon icon;
  bool operator==(const ShownBox&) const = default;
};

class FakeConvertWindow final : public core::ConvertWindow {
 public:
  std::string selected_input;
  std::vector<WorkbookEntry> workbooks;
  int naming_mode = core::kNameSheet;
  int32_t file_format = 11;
  core::SheetTable choices;
  std::string output_text;
  int output_index = -1;
  // Runs when the command saves the worksheet list on screen.
  std::function<void(core::SheetTable&)> on_save_sheet_choices;

  int32_t progress_max = 0;
  int32_t progress_value = 0;
  std::vector<ShownBox> boxes;
  // Everything shown or moved, in order: "box <text>", "status <text>",
  // "progress <n>", "max <n>", "hourglass", "default pointer", "save choices".
  std::vector<std::string> events;

  std::string SelectedInputText() override { return selected_input; }
  std::string WorkbookEntryText(int32_t workbook) override {
    if (workbook < 1 || workbook > static_cast<int32_t>(workbooks.size())) return {};
    return workbooks[workbook - 1].text;
  }
  int NamingMode() override { return naming_mode; }
  int32_t FileFormat() override { return file_format; }
  const core::SheetTable& Choices() override { return choices; }
  void SetProgressMax(int32_t maximum) override {
    progress_max = maximum;
    events.push_back("max " + std::to_string(maximum));
  }
  void SetProgressValue(int32_t value) override {
    progress_value = value;
    events.push_back("progress " + std::to_string(value));
  }
  void ShowMessage(const std::string& text, core::BoxIcon icon) override {
    boxes.push_back({text, icon});
    events.push_back("box " + text);
  }

  int32_t WorkbookCount() override { return static_cast<int32_t>(workbooks.size()); }
  bool IsWorkbookTicked(int32_t workbook) override { return workbooks.at(workbook - 1).ticked; }
  std::string OutputText() override { return output_text; }
  int OutputEntryIndex() override { return output_index; }
  void SaveSheetChoices() override {
    events.push_back("save choices");
    if (on_save_sheet_choices) on_save_sheet_choices(choices);
  }
  void SetStatusLine(const std::string& text) override { events.push_back("status " + text); }
  void ShowHourglass() override { events.push_back("hourglass"); }
  void ShowDefaultPointer() override { events.push_back("default pointer"); }

  std::vector<std::string> EventsStartingWith(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const std::string& event : events) {
      if (event.rfind(prefix, 0) == 0) found.push_back(event);
    }
    return found;
  }
};

}  // namespace dravella::testing
