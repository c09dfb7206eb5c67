#include "core/workbook_export.h"

#include <cstdint>
#include <exception>
#include <memory>

#include "core/path_kind.h"
#include "core/workbook_listing.h"
#include "core/quiet_cleanup.h"
#include "core/worksheet_save.h"
#include "engine/automation_error.h"

namespace dravella::core {
namespace {

constexpr char kSeparator = '/';

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
  const std::string folder = workbook_output_folder + kSeparator;

  std::shared_ptr<engine::Application> application;
  std::shared_ptr<engine::Workbook> book;
  try {
    application = context.applications.CreateObject(engine::kApplicationClass);
    book = application->WorkbooksOpen(path);
    application->SetDisplayAlerts(false);

    const int32_t count = book->WorksheetsCount();
    // Worksheet numbers are 16-bit: a workbook with more worksheets fails.
    if (count > INT16_MAX) {
      throw engine::AutomationError(engine::ErrorCode::kBadIndex,
                                    "The workbook has more than 32767 worksheets.");
    }
    window.SetProgressMax(count);

    const SheetTable& choices = window.Choices();
    // A workbook whose first label was emptied counts as never listed.
    const bool listed = choices.IsListed(workbook);
    const int mode = window.NamingMode();
    const std::string book_name = CutBeforeLastDot(window.WorkbookEntryText(workbook));
    const int32_t file_format = window.FileFormat();

    for (int32_t number = 1; number <= count; ++number) {
      const auto i = static_cast<int16_t>(number);
      std::string sheet_name;
      bool chosen = true;
      if (listed && number <= SheetTable::kLastWorksheet) {
        chosen = choices.IsChosen(workbook, number);
        if (chosen) sheet_name = choices.Label(workbook, number);
      } else {
        sheet_name = book->Worksheets(i)->Name();
      }
      if (chosen) {
        // The name is made before the emptiness test, so an empty worksheet
        // still uses up its number in the numbered mode.
        const std::string file = context.naming.DbfBaseName(mode, book_name, sheet_name) + ".dbf";
        SaveWorksheetAsDbf(*book, i, folder + file, file_format);
      }
      window.SetProgressValue(number);
    }

    book->Close();
    application->Quit();
    window.SetProgressValue(0);
    book.reset();
    application.reset();
    context.naming.SheetCounter = 0;
    return kWorkbookConverted;
  } catch (const std::exception& error) {
    // Every error takes this path, also one without a positive number (a
    // lost connection to the application): leaving the application running
    // and the workbook open would help no one.
    window.ShowMessage(error.what(), BoxIcon::kNone);
    CloseQuietly(book.get());
    QuitQuietly(application.get());
    return kWorkbookFailed;
  }
}

}  // namespace dravella::core
