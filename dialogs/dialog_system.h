// The window system's standard dialogs as CCommonDialogs calls them.
//
// Each operation takes the record of its Windows counterpart and answers the
// way that call does (nonzero when the user confirmed), so the records built
// by CCommonDialogs can be checked against a scripted implementation and a
// real one can honour every field.
#pragma once

#include <optional>
#include <string>

#include "dialogs/dialog_records.h"

namespace dravella::dialogs {

class DialogSystem {
 public:
  virtual ~DialogSystem() = default;

  // GetOpenFileNameA / GetSaveFileNameA.
  virtual int GetOpenFileName(OpenFileNameRecord& record) = 0;
  virtual int GetSaveFileName(OpenFileNameRecord& record) = 0;

  // SHBrowseForFolder followed by SHGetPathFromIDList: false when cancelled;
  // otherwise true, with the chosen folder's path NUL-ended in path_buffer
  // (kMaxPath bytes), which holds no NUL when the folder has no usable path.
  virtual bool BrowseForFolder(const BrowseInfoRecord& info, char* path_buffer) = 0;

  // ChooseColorA, ChooseFontA, PrintDlgA.
  virtual int ChooseColor(ChooseColorRecord& record) = 0;
  virtual int ChooseFont(ChooseFontRecord& record) = 0;
  virtual int PrintDlg(PrintDlgRecord& record) = 0;

  // LOGPIXELSY of the screen: dots per inch, vertically.
  virtual int ScreenLogPixelsY() = 0;

  // The default printer: its device name (none when there is no printer) and
  // a device context for it (0 when it cannot be had).
  virtual std::optional<std::string> DefaultPrinterName() = 0;
  virtual DeviceContext DefaultPrinterContext() = 0;

  // OpenPrinterA, PrinterProperties, ClosePrinter.
  virtual int OpenPrinter(const std::string& name, PrinterHandle* printer,
                          const PrinterDefaultsRecord& defaults) = 0;
  virtual int PrinterProperties(WindowHandle owner, PrinterHandle printer) = 0;
  virtual int ClosePrinter(PrinterHandle printer) = 0;

  // The program's instance handle and its own folder (no trailing separator).
  virtual InstanceHandle ProgramInstance() = 0;
  virtual std::string ProgramFolder() = 0;
};

}  // namespace dravella::dialogs
