// The desktop program's export of one workbook of its workbook list: which
// worksheets become tables and under which names, the progress bar, and the
// report of a failure. The window is reached only through ExportWindow, so the
// export runs without a display in tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/output_naming.h"
#include "core/sheet_table.h"
#include "engine/object_model.h"

namespace dravella::core {

// The icons a message box of the window program may carry.
enum class BoxIcon { kNone, kInformation, kCritical };

// The parts of the main window the export reads and moves.
class ExportWindow {
 public:
  virtual ~ExportWindow() = default;
  // The text of the selected entry of the input list; empty when the list is
  // empty or nothing is selected.
  virtual std::string SelectedInputText() = 0;
  // The text of entry `workbook` (counted from 1) of the workbook list; empty
  // when there is no such entry.
  virtual std::string WorkbookEntryText(int32_t workbook) = 0;
  // 1, 2 or 3: the naming mode chosen in the window.
  virtual int NamingMode() = 0;
  // 11, 8 or 7: the file format of the chosen dBASE level.
  virtual int32_t FileFormat() = 0;
  // The worksheet choices kept per workbook.
  virtual const SheetTable& Choices() = 0;
  virtual void SetProgressMax(int32_t maximum) = 0;
  // Moves the progress bar; the window shows the new value at once.
  virtual void SetProgressValue(int32_t value) = 0;
  // A modal message box with an OK button.
  virtual void ShowMessage(const std::string& text, BoxIcon icon) = 0;
};

enum ConvertResult : int32_t {
  kWorkbookConverted = 1,  // worked through to its end
  kWorkbookFailed = 2,     // an error stopped it and was reported
  kWorkbookNotFound = 3,   // no workbook file for the entry
};

// What the export needs beside the window: the application factory and the
// program's naming state, whose SheetCounter it sets back after a workbook.
struct ExportContext {
  engine::ApplicationFactory& applications;
  OutputNaming& naming;
};

// A workbook entry's name cut before its last dot; the whole text when it
// has no dot. The export's book name and the Convert command's folder name
// both start from it.
std::string CutBeforeLastDot(std::string_view entry_text);

// The workbook's full path: the selected input itself when it is a file, the
// entry's name inside it when it is a folder; empty when that names no file.
std::string WorkbookPath(ExportWindow& window, int32_t workbook);

// Converts the chosen worksheets of entry `workbook` of the workbook list into
// `workbook_output_folder` (given without a trailing separator). A workbook
// listed in the choices converts only its ticked worksheets under their
// labels; any other converts all worksheets under their own names. Every
// error is shown with its description, the workbook is closed and the
// application quit; files already written stay.
ConvertResult ConvertWorkbook(ExportWindow& window, ExportContext& context, int32_t workbook,
                              const std::string& workbook_output_folder);

}  // namespace dravella::core
