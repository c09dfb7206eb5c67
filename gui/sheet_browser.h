// The sheet browser of form1: the window's side of core::WorksheetListing,
// which decides which worksheets ListView3 lists for the chosen workbook.
#pragma once

#include <string>
#include <vector>

#include "core/workbook_listing.h"

namespace dravella::gui {

class Form1;

// The window as the listing rules see it.
class FormListingWindow final : public core::ListingWindow {
 public:
  explicit FormListingWindow(Form1& form) : form_(form) {}

  std::string SelectedInputText() override;
  int32_t CurrentWorkbook() override;
  std::string WorkbookEntryText(int32_t workbook) override;
  std::vector<core::WorksheetRow> ShownWorksheets() override;
  void ShowWorksheets(const std::vector<core::WorksheetRow>& rows) override;
  void ShowFailure(const std::string& text) override;

 private:
  Form1& form_;
};

}  // namespace dravella::gui
