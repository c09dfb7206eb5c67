// The sheet browser of form1: the worksheets of the workbook chosen in
// ListView2, listed in ListView3 with a tick box and an editable label each,
// and kept per workbook while the user moves between workbooks. Which rows
// are listed is decided by core::WorksheetListing; this side shows them.
#include "gui/sheet_browser.h"

#include <QAbstractItemDelegate>
#include <QLineEdit>
#include <QTreeWidget>

#include "gui/form1.h"
#include "gui/hourglass.h"
#include "gui/input_list.h"
#include "gui/qstring_convert.h"

namespace dravella::gui {
namespace {

// A worksheet row: ticked or not, its label edited in place. Any text is
// accepted as a label, the empty text included.
QTreeWidgetItem* WorksheetItem(const core::WorksheetRow& row) {
  auto* item = new QTreeWidgetItem({ToQString(row.label)});
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
                 Qt::ItemIsEditable | Qt::ItemNeverHasChildren);
  item->setCheckState(0, row.chosen ? Qt::Checked : Qt::Unchecked);
  return item;
}

}  // namespace

std::string FormListingWindow::SelectedInputText() { return form_.ChosenInputPath(); }

int32_t FormListingWindow::CurrentWorkbook() {
  QTreeWidgetItem* current = form_.ListView2->currentItem();
  return current == nullptr ? 0 : form_.ListView2->indexOfTopLevelItem(current) + 1;
}

std::string FormListingWindow::WorkbookEntryText(int32_t workbook) {
  return PathOfEntry(form_.ListView2->topLevelItem(workbook - 1));
}

std::vector<core::WorksheetRow> FormListingWindow::ShownWorksheets() {
  std::vector<core::WorksheetRow> rows;
  const int count = form_.ListView3->topLevelItemCount();
  rows.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const QTreeWidgetItem* item = form_.ListView3->topLevelItem(i);
    rows.push_back({ToUtf8(item->text(0)), item->checkState(0) == Qt::Checked});
  }
  return rows;
}

void FormListingWindow::ShowWorksheets(const std::vector<core::WorksheetRow>& rows) {
  form_.ListView3->clear();
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<qsizetype>(rows.size()));
  for (const core::WorksheetRow& row : rows) items.push_back(WorksheetItem(row));
  form_.ListView3->addTopLevelItems(items);
  form_.ListView3->update();
}

void FormListingWindow::ShowFailure(const std::string& text) {
  form_.services_.messages.Show(text, MessageIcon::kCritical);
}

std::string Form1::ChosenInputPath() const { return PathOfEntry(ListView1->currentItem()); }

void Form1::SaveSheetChoices() {
  FormListingWindow window(*this);
  listing_.KeepShown(window);
}

void Form1::ListSheets(bool from_choices) {
  FormListingWindow window(*this);
  listing_.ListCurrent(window, services_.applications, from_choices);
}

void Form1::ListView2ItemClick() {
  HourglassScope hourglass(*this);
  ListSheets(true);
}

void Form1::CommitOpenEditor() {
  // The editor of an in-place rename is a line edit on the list's viewport;
  // one closed before stays hidden until it is deleted.
  for (QLineEdit* editor : ListView3->viewport()->findChildren<QLineEdit*>()) {
    if (!editor->isVisible()) continue;
    QMetaObject::invokeMethod(ListView3, "commitData", Q_ARG(QWidget*, editor));
    QMetaObject::invokeMethod(ListView3, "closeEditor", Q_ARG(QWidget*, editor),
                              Q_ARG(QAbstractItemDelegate::EndEditHint,
                                    QAbstractItemDelegate::NoHint));
  }
}

}  // namespace dravella::gui
