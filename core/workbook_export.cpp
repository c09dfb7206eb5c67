#include "core/workbook_export.h"

#include <cstdint>

#include "core/path_kind.h"
#include "core/path_join.h"
#include "core/workbook_conversion.h"
#include "core/workbook_listing.h"

namespace dravella::core {
namespace {

// The window's side of the loop: its worksheet choices and its progress bar.
class WindowHost final : public ConversionHost {
 public:
  WindowHost(ExportWindow& window, int32_t workbook)
      : window_(window), workbook_(workbook), choices_(window.Choices()),
        // A workbook whose first label was emptied counts as never listed.
        listed_(choices_.IsListed(workbook)) {}

  void WorksheetCountKnown(int32_t count) override { window_.SetProgressMax(count); }
  bool ChooseWorksheet(int32_t number, engine::Worksheet& sheet, std::string& name) override {
    if (listed_ && number <= SheetTable::kLastWorksheet) {
      if (!choices_.IsChosen(workbook_, number)) return false;
      name = choices_.Label(workbook_, number);
    } else {
      name = sheet.Name();
    }
    return true;
  }
  void WorksheetDone(int32_t number) override { window_.SetProgressValue(number); }

 private:
  ExportWindow& window_;
  int32_t workbook_;
  const SheetTable& choices_;
  bool listed_;
};

}  // namespace

std::string CutBeforeLastDot(std::string_view entry_text) {
  const auto dot = entry_text.rfind('.');
  return std::string(dot == std::string_view::npos ? entry_text : entry_text.substr(0, dot));
}

std::string WorkbookPath(ExportWindow& window, int32_t workbook) {
  // The same rule as the listing's, so Convert reads the workbook listed.
  return WorkbookPathOf(window.SelectedInputText(), window.WorkbookEntryText(workbook));
}

ConvertResult ConvertWorkbook(ExportWindow& window, ExportContext& context, int32_t workbook,
                              const std::string& workbook_output_folder) {
  const std::string path = WorkbookPath(window, workbook);
  if (path.empty()) return kWorkbookNotFound;

  ConversionSettings settings;
  settings.naming_mode = window.NamingMode();
  settings.book_name = CutBeforeLastDot(window.WorkbookEntryText(workbook));
  settings.file_format = window.FileFormat();
  WindowHost host(window, workbook);
  const ConversionReport report = ConvertWorkbookInto(path, workbook_output_folder, settings, host,
                                                      context.applications, context.naming);
  if (!report.converted) {
    window.ShowMessage(report.reason, BoxIcon::kNone);
    return kWorkbookFailed;
  }
  window.SetProgressValue(0);
  return kWorkbookConverted;
}

}  // namespace dravella::core
