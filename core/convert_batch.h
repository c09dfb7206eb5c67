// The desktop program's Convert command: check or create the output folder,
// then convert every ticked workbook of the workbook list into a new folder
// of its own below it, report each failure and open the output folder.
// The window is reached only through ConvertWindow.
#pragma once

#include <cstdint>
#include <string>

#include "core/shell_open.h"
#include "core/workbook_export.h"

namespace dravella::core {

// The parts of the main window the Convert command reads and writes, beside
// those of the export.
class ConvertWindow : public ExportWindow {
 public:
  // Entries of the workbook list, and whether entry `workbook` (from 1) is ticked.
  virtual int32_t WorkbookCount() = 0;
  virtual bool IsWorkbookTicked(int32_t workbook) = 0;
  // The text of the output directory field, and the index of the entry it was
  // picked from: -1 when the text was typed.
  virtual std::string OutputText() = 0;
  virtual int OutputEntryIndex() = 0;
  // Stores the worksheet list on screen in the choices of its workbook.
  virtual void SaveSheetChoices() = 0;
  // The status line; the window shows the new text at once.
  virtual void SetStatusLine(const std::string& text) = 0;
  virtual void ShowHourglass() = 0;
  virtual void ShowDefaultPointer() = 0;
};

// Texts of the command's message boxes.
inline constexpr const char* kNothingListedText = "Please select excel at fast!";
inline constexpr const char* kNoOutputFolderText = "Please select output folder";
inline constexpr const char* kFolderMissingText = "Folder does not exist!";
inline constexpr const char* kFolderNotCreatedText = "Failed to create folder!";

// "Convert " + short name + " file failed!"
std::string WorkbookFailedText(const std::string& short_name);

// The folder name of a workbook entry: its text cut before the last dot,
// without blanks and dots.
std::string WorkbookShortName(const std::string& entry_text);

class ConvertCommand {
 public:
  ConvertCommand(ConvertWindow& window, ExportContext context, ShellOpener& shell)
      : window_(window), context_(context), shell_(shell) {}

  // The whole command, as the Convert button and menu item run it. Status
  // line, progress bar and pointer are reset on every way out.
  void Run();

  // Checks the output folder named in the window, creating it when it was
  // typed and is missing (one level). True when the batch may run; then
  // OutputRoot ends in exactly one separator. Shows its own message otherwise.
  bool PrepareOutputFolder();

  // The output folder of the current batch.
  std::string OutputRoot;
  // The folder of the workbook being converted, without a trailing separator.
  std::string WorkbookOutputFolder;

 private:
  void ConvertTicked(int32_t workbook);

  ConvertWindow& window_;
  ExportContext context_;
  ShellOpener& shell_;
};

}  // namespace dravella::core
