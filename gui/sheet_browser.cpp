// The sheet browser of form1: the worksheets of the workbook chosen in
// ListView2, listed in ListView3 with a tick box and an editable label each,
// and kept per workbook in SheetTable while the user moves between workbooks.
//
// A workbook is read through a new application instance only when the table
// does not hold it yet; a listed one is shown again from the table.
#include <QTreeWidget>
#include <exception>

#include "core/path_kind.h"
#include "core/worksheet_names.h"
#include "engine/automation_error.h"
#include "gui/form1.h"
#include "gui/hourglass.h"
#include "gui/qstring_convert.h"

namespace dravella::gui {
namespace {

constexpr const char* kOpenFailed = "Excel file open failed!";

QTreeWidgetItem* SelectedEntry(const QTreeWidget& list) {
  const QList<QTreeWidgetItem*> selected = list.selectedItems();
  return selected.isEmpty() ? nullptr : selected.first();
}

// A worksheet row: ticked or not, its label edited in place. Any text is
// accepted as a label, the empty text included.
QTreeWidgetItem* WorksheetItem(const std::string& label, bool chosen) {
  auto* item = new QTreeWidgetItem({ToQString(label)});
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
                 Qt::ItemIsEditable | Qt::ItemNeverHasChildren);
  item->setCheckState(0, chosen ? Qt::Checked : Qt::Unchecked);
  return item;
}

}  // namespace

std::string Form1::SelectedWorkbookPath() const {
  const QTreeWidgetItem* input = SelectedEntry(*ListView1);
  const QTreeWidgetItem* workbook = SelectedEntry(*ListView2);
  const std::string entry = input ? ToUtf8(input->text(0)) : std::string();
  const std::string name = workbook ? ToUtf8(workbook->text(0)) : std::string();
  switch (core::PathKind(entry)) {
    case core::kPathFile:
      return entry;
    case core::kPathFolder: {
      const std::string candidate = entry + "/" + name;
      return core::PathKind(candidate) == core::kPathFile ? candidate : std::string();
    }
    default:
      return {};
  }
}

void Form1::SaveSheetChoices() {
  const int count = ListView3->topLevelItemCount();
  for (int i = 1; i <= count && i <= core::SheetTable::kLastWorksheet; ++i) {
    const QTreeWidgetItem* item = ListView3->topLevelItem(i - 1);
    SheetTable.Store(ShownWorkbook, i, ToUtf8(item->text(0)), item->checkState(0) == Qt::Checked);
  }
}

void Form1::ListSheets() {
  const std::string path = SelectedWorkbookPath();
  if (path.empty()) return;
  // Rows are gathered first and shown together; after a failure the rows
  // read before it are shown all the same.
  QList<QTreeWidgetItem*> rows;
  bool failed = false;
  std::string failure;
  try {
    QTreeWidgetItem* chosen = SelectedEntry(*ListView2);
    // A workbook file resolves without a chosen entry; without one there is
    // no table row to show or keep, so nothing is listed.
    if (chosen == nullptr) return;
    const int32_t workbook = ListView2->indexOfTopLevelItem(chosen) + 1;

    // Worksheet 1's label is looked up before the list on screen is saved.
    std::string saved;
    if (!FreshListing) {
      saved = SheetTable.Label(workbook, 1);
      SaveSheetChoices();
    }
    ShownWorkbook = workbook;
    ListView3->clear();

    if (!saved.empty()) {
      for (int32_t s = 1; s <= core::SheetTable::kLastWorksheet; ++s) {
        const std::string& label = SheetTable.Label(workbook, s);
        if (label.empty()) break;
        rows.push_back(WorksheetItem(label, SheetTable.IsChosen(workbook, s)));
      }
    } else {
      core::ReadWorksheetNames(services_.applications, path,
                               [&](int32_t number, const std::string& name) {
                                 rows.push_back(WorksheetItem(name, true));
                                 SheetTable.Store(workbook, number, name, true);
                               });
    }
  } catch (const engine::AutomationError& error) {
    failed = true;
    failure = error.description();
  } catch (const std::exception& error) {
    failed = true;
    failure = error.what();
  } catch (...) {
    failed = true;
    failure = "Unknown error.";
  }
  ListView3->addTopLevelItems(rows);
  ListView3->update();
  if (failed) {
    // The workbook is closed and the application quit by now.
    services_.messages.Show(failure, MessageIcon::kCritical);
    services_.messages.Show(kOpenFailed, MessageIcon::kCritical);
  }
}

void Form1::ListView2ItemClick() {
  HourglassScope hourglass(*this);
  FreshListing = false;
  try {
    ListSheets();
  } catch (...) {
  }
  FreshListing = true;
}

}  // namespace dravella::gui
