// The standard dialogs shown with Qt: QFileDialog for Open, Save and the
// folder browser, QColorDialog, QFontDialog, and Qt Print Support's print and
// page-setup dialogs for the default printer. Every field that CCommonDialogs
// sets is honoured as far as Qt's dialogs have a counterpart.
#pragma once

#include <QPrinterInfo>
#include <map>
#include <memory>

#include "dialogs/dialog_system.h"

class QPrinter;
class QWidget;

namespace dravella::gui {

// The window handles that the window program hands to the dialogs.
inline dialogs::WindowHandle WindowHandleOf(QWidget* widget) { return widget; }
inline QWidget* WidgetOf(dialogs::WindowHandle handle) { return static_cast<QWidget*>(handle); }

class QtDialogSystem final : public dialogs::DialogSystem {
 public:
  QtDialogSystem();
  ~QtDialogSystem() override;

  int GetOpenFileName(dialogs::OpenFileNameRecord& record) override;
  int GetSaveFileName(dialogs::OpenFileNameRecord& record) override;
  bool BrowseForFolder(const dialogs::BrowseInfoRecord& info, char* path_buffer) override;
  int ChooseColor(dialogs::ChooseColorRecord& record) override;
  int ChooseFont(dialogs::ChooseFontRecord& record) override;
  int PrintDlg(dialogs::PrintDlgRecord& record) override;
  int ScreenLogPixelsY() override;
  std::optional<std::string> DefaultPrinterName() override;
  dialogs::DeviceContext DefaultPrinterContext() override;
  int OpenPrinter(const std::string& name, dialogs::PrinterHandle* printer,
                  const dialogs::PrinterDefaultsRecord& defaults) override;
  int PrinterProperties(dialogs::WindowHandle owner, dialogs::PrinterHandle printer) override;
  int ClosePrinter(dialogs::PrinterHandle printer) override;
  dialogs::InstanceHandle ProgramInstance() override;
  std::string ProgramFolder() override;

 private:
  int RunFileDialog(dialogs::OpenFileNameRecord& record, bool save);

  std::unique_ptr<QPrinter> default_printer_;
  std::map<dialogs::PrinterHandle, QPrinterInfo> open_printers_;
  dialogs::PrinterHandle next_printer_ = 1;
};

}  // namespace dravella::gui
