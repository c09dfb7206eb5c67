// The listing rules of the desktop program's window: which input and which
// workbook are chosen, the chosen workbook's path, and which of its
// worksheets are listed and ticked under which labels. The Convert command
// reads the same choices, so listing and Convert cannot disagree. The window
// is reached only through ListingWindow, so the rules run without a display.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/sheet_table.h"
#include "engine/object_model.h"

namespace dravella::core {

// The workbook named by an input entry and a workbook entry: the input itself
// when it is a file, the entry's name inside it when it is a folder; empty
// when that names no file. Both are the file system's bytes.
std::string WorkbookPathOf(const std::string& input, const std::string& workbook_entry);

// One row of the worksheet list: its label (edited in place) and its tick.
struct WorksheetRow {
  std::string label;
  bool chosen = true;
  bool operator==(const WorksheetRow&) const = default;
};

// The parts of the main window the listing reads and fills.
class ListingWindow {
 public:
  virtual ~ListingWindow() = default;
  // The path of the current entry of the input list; empty when there is none.
  virtual std::string SelectedInputText() = 0;
  // The current entry of the workbook list, counted from 1; 0 when none.
  virtual int32_t CurrentWorkbook() = 0;
  // The text of entry `workbook` (from 1) of the workbook list; empty when none.
  virtual std::string WorkbookEntryText(int32_t workbook) = 0;
  // The worksheet list as the user left it, and its replacement.
  virtual std::vector<WorksheetRow> ShownWorksheets() = 0;
  virtual void ShowWorksheets(const std::vector<WorksheetRow>& rows) = 0;
  // A modal critical message box.
  virtual void ShowFailure(const std::string& text) = 0;
};

inline constexpr const char* kOpenFailedText = "Excel file open failed!";

// The worksheet choices of every listed workbook, and which one is on screen.
class WorksheetListing {
 public:
  // The path of the workbook the window has chosen, or the empty text.
  static std::string ChosenWorkbookPath(ListingWindow& window);

  // Per workbook-list position, the labels and ticks; Convert reads them.
  const SheetTable& Choices() const { return choices_; }
  // The workbook-list position (from 1) of the worksheets on screen; 0 none.
  int32_t ShownWorkbook() const { return shown_; }

  // Forgets every workbook's choices; with `nothing_shown` also which one is
  // on screen (the workbook list was rebuilt and the worksheet list emptied).
  void Forget(bool nothing_shown);
  // Copies the worksheet list on screen into the choices of ShownWorkbook.
  void KeepShown(ListingWindow& window);
  // Lists the worksheets of the current workbook. With `from_choices` the
  // list on screen is kept first and a workbook listed before is shown again
  // from its choices; otherwise, and for a workbook not listed before, the
  // names are read from the file, all ticked. A failure shows its
  // description and "Excel file open failed!"; the rows read before it are
  // shown all the same.
  void ListCurrent(ListingWindow& window, engine::ApplicationFactory& applications,
                   bool from_choices);

 private:
  SheetTable choices_;
  int32_t shown_ = 0;
};

}  // namespace dravella::core
