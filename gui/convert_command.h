// The Convert command on the main window: Command6 and the menu item Separate
// run it. The batch itself is core::ConvertCommand; this side reads the
// window's controls, shows the messages and keeps the status line and the
// progress bar visibly up to date without handling any user input.
#pragma once

#include <cstdint>
#include <string>

#include "core/convert_batch.h"
#include "core/output_naming.h"

namespace dravella::gui {

class Form1;

// The window as the Convert command sees it.
class FormConvertWindow final : public core::ConvertWindow {
 public:
  explicit FormConvertWindow(Form1& form) : form_(form) {}

  std::string SelectedInputText() override;
  std::string WorkbookEntryText(int32_t workbook) override;
  int NamingMode() override;
  int32_t FileFormat() override;
  const core::SheetTable& Choices() override;
  void SetProgressMax(int32_t maximum) override;
  void SetProgressValue(int32_t value) override;
  void SetStatusLine(const std::string& text) override;
  void ShowMessage(const std::string& text, core::BoxIcon icon) override;
  int32_t WorkbookCount() override;
  bool IsWorkbookTicked(int32_t workbook) override;
  // The typed text as file system bytes, or the bytes of the entry picked.
  std::string OutputText() override;
  int OutputEntryIndex() override;
  void SaveSheetChoices() override;
  void ShowHourglass() override;
  void ShowDefaultPointer() override;

 private:
  Form1& form_;
};

// Converts the ticked workbooks of form's workbook list into the output
// folder named in Combo5, as the command's rules say.
void RunConvertCommand(Form1& form);

// The naming state of the window program: SheetCounter lives on from one
// workbook to the next, and past a failed workbook into the next batch.
core::OutputNaming& ProgramOutputNaming();

}  // namespace dravella::gui
