#include "core/workbook_listing.h"

#include <exception>

#include "core/path_kind.h"
#include "core/path_join.h"
#include "core/worksheet_names.h"
#include "engine/automation_error.h"

namespace dravella::core {

std::string WorkbookPathOf(const std::string& input, const std::string& workbook_entry) {
  switch (PathKind(input)) {
    case kPathFile:
      return input;
    case kPathFolder: {
      std::string candidate = JoinPath(input, workbook_entry);
      return PathKind(candidate) == kPathFile ? candidate : std::string();
    }
    default:
      return {};
  }
}

std::string WorksheetListing::ChosenWorkbookPath(ListingWindow& window) {
  const int32_t workbook = window.CurrentWorkbook();
  return WorkbookPathOf(window.SelectedInputText(),
                        workbook > 0 ? window.WorkbookEntryText(workbook) : std::string());
}

void WorksheetListing::Forget(bool nothing_shown) {
  choices_.Clear();
  if (nothing_shown) shown_ = 0;
}

void WorksheetListing::KeepShown(ListingWindow& window) {
  if (shown_ < 1) return;
  const std::vector<WorksheetRow> rows = window.ShownWorksheets();
  for (std::size_t i = 0; i < rows.size() && i < SheetTable::kLastWorksheet; ++i) {
    choices_.Store(shown_, static_cast<int32_t>(i + 1), rows[i].label, rows[i].chosen);
  }
}

void WorksheetListing::ListCurrent(ListingWindow& window, engine::ApplicationFactory& applications,
                                   bool from_choices) {
  const int32_t workbook = window.CurrentWorkbook();
  // Without a current workbook entry there is no row to show or keep.
  if (workbook < 1) return;
  const std::string path = ChosenWorkbookPath(window);
  if (path.empty()) return;

  // Worksheet 1's label is looked up before the list on screen is kept: a
  // click on the workbook already shown keeps the user's edits.
  const bool listed_before = from_choices && choices_.IsListed(workbook);
  if (from_choices) KeepShown(window);
  shown_ = workbook;

  std::vector<WorksheetRow> rows;
  std::string failure;
  bool failed = false;
  if (listed_before) {
    for (int32_t s = 1; s <= SheetTable::kLastWorksheet; ++s) {
      const std::string& label = choices_.Label(workbook, s);
      if (label.empty()) break;
      rows.push_back({label, choices_.IsChosen(workbook, s)});
    }
  } else {
    try {
      ReadWorksheetNames(applications, path, [&](int32_t number, const std::string& name) {
        rows.push_back({name, true});
        choices_.Store(workbook, number, name, true);
      });
    } catch (const engine::AutomationError& error) {
      failed = true;
      failure = error.description();
    } catch (const std::exception& error) {
      failed = true;
      failure = error.what();
    }
  }
  window.ShowWorksheets(rows);
  // The workbook is closed and the application quit by now.
  if (failed) {
    window.ShowFailure(failure);
    window.ShowFailure(kOpenFailedText);
  }
}

}  // namespace dravella::core
