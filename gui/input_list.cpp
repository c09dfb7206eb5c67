// The input list of form1 and the commands on it: Add Excel, Add Folder,
// Remove File, Remove All Items, Up, Down and a click on an input; the folder
// scan that rebuilds the workbook list; and the commands on the output
// directory list (Browse, View and the two removals).
//
// The commands report nothing: a failure ends the command where it happened,
// the lists keep what was done before it, and the pointer goes back to the
// default.
#include <QComboBox>
#include <QTreeWidget>

#include "core/path_kind.h"
#include "core/workbook_folder.h"
#include "dialogs/common_dialogs.h"
#include "gui/form1.h"
#include "gui/hourglass.h"
#include "gui/qstring_convert.h"
#include "gui/qt_dialog_system.h"

namespace dravella::gui {
namespace {

// The selected entry of a list, or null when none is selected.
QTreeWidgetItem* SelectedEntry(const QTreeWidget& list) {
  const QList<QTreeWidgetItem*> selected = list.selectedItems();
  return selected.isEmpty() ? nullptr : selected.first();
}

void SelectEntry(QTreeWidget& list, QTreeWidgetItem* entry) {
  list.setCurrentItem(entry);
  list.scrollToItem(entry);
}

QTreeWidgetItem* AppendInput(Form1& window, const std::string& path, int image) {
  auto* entry = new QTreeWidgetItem(window.ListView1, {ToQString(path)});
  entry->setIcon(0, window.ImageList1->Image(image));
  return entry;
}

// Runs one command's steps; any error ends them silently, and the pointer
// is the default afterwards however they ended.
template <typename Steps>
void RunSilently(Form1& window, Steps steps) {
  try {
    steps();
  } catch (...) {
  }
  ShowDefaultPointer(window);
}

// The folder the user picks in the folder browser under title; the empty
// text when the browser was cancelled or gave no usable path.
std::string ChooseFolder(Form1& window, const char* title) {
  dialogs::CCommonDialogs dialog(window.Services().dialogs);
  dialog.Init(WindowHandleOf(&window));
  dialog.SetTitle(title);
  return dialog.ShowFolder() ? dialog.Path() : std::string();
}

}  // namespace

void Form1::FillWorkbookList(const std::string& path) {
  try {
    SheetTable.Clear();
    ListView2->clear();
    std::vector<std::string> names;
    if (core::PathKind(path) == core::kPathFile) {
      names.push_back(core::FileNameOf(path));
    } else {
      names = core::WorkbookNamesInFolder(path);
    }
    QList<QTreeWidgetItem*> entries;
    entries.reserve(static_cast<qsizetype>(names.size()));
    for (const std::string& name : names) {
      auto* entry = new QTreeWidgetItem({ToQString(name)});
      entry->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
                      Qt::ItemNeverHasChildren);
      entry->setCheckState(0, Qt::Checked);
      entries.push_back(entry);
    }
    ListView2->addTopLevelItems(entries);
    // The first workbook is the chosen one, so the listing that follows has one.
    if (!entries.isEmpty()) ListView2->setCurrentItem(entries.first());
  } catch (...) {
  }
  ListView2->update();
}

void Form1::Command1Click() {
  RunSilently(*this, [this] {
    dialogs::CCommonDialogs dialog(services_.dialogs);
    dialog.Init(WindowHandleOf(this));
    dialog.SetTitle("Select Excel File");
    if (!dialog.ShowOpen()) return;
    const std::string file = dialog.FileName();
    SelectEntry(*ListView1, AppendInput(*this, file, kImageWorkbook));
    FillWorkbookList(file);
    SheetTable.Clear();
    ShowHourglass(*this);
    ListSheets();
  });
}

void Form1::Command5Click() {
  RunSilently(*this, [this] {
    const std::string folder = ChooseFolder(*this, "Add all excel files in folder");
    if (folder.empty()) return;
    QTreeWidgetItem* entry = AppendInput(*this, folder, kImageFolder);
    ListView1->setCurrentItem(entry);
    FillWorkbookList(folder);
    ListView1->scrollToItem(entry);
    ShowHourglass(*this);
    SheetTable.Clear();
    ListSheets();
  });
}

void Form1::Command2Click() {
  RunSilently(*this, [this] {
    const int count = ListView1->topLevelItemCount();
    if (count == 0) return;
    QTreeWidgetItem* selected = SelectedEntry(*ListView1);
    if (selected == nullptr) return;
    const int removed_at = ListView1->indexOfTopLevelItem(selected);  // from 0
    delete ListView1->takeTopLevelItem(removed_at);
    if (count - 1 > 0) {
      // The entry before the removed one, or the new first entry.
      QTreeWidgetItem* neighbour = ListView1->topLevelItem(removed_at > 0 ? removed_at - 1 : 0);
      ListView1->setCurrentItem(neighbour);
      FillWorkbookList(ToUtf8(neighbour->text(0)));
      ShowHourglass(*this);
      ListSheets();
    } else {
      SheetTable.Clear();
      ListView2->clear();
      ListView3->clear();
    }
  });
}

void Form1::RemoveAllClick() {
  SheetTable.Clear();
  ListView1->clear();
  ListView2->clear();
  ListView3->clear();
}

namespace {

// Moves the selected input by one place (-1 up, +1 down); the entry keeps
// its text and picture and stays selected. The other lists are untouched.
void MoveSelectedInput(QTreeWidget& list, int step) {
  QTreeWidgetItem* selected = SelectedEntry(list);
  if (selected == nullptr) return;
  const int from = list.indexOfTopLevelItem(selected);
  const int to = from + step;
  if (to < 0 || to >= list.topLevelItemCount()) return;
  QTreeWidgetItem* entry = list.takeTopLevelItem(from);
  list.insertTopLevelItem(to, entry);
  SelectEntry(list, entry);
}

}  // namespace

void Form1::Command3Click() { MoveSelectedInput(*ListView1, -1); }

void Form1::Command4Click() { MoveSelectedInput(*ListView1, +1); }

void Form1::ListView1ItemClick() {
  RunSilently(*this, [this] {
    if (ListView1->topLevelItemCount() == 0) return;
    QTreeWidgetItem* selected = SelectedEntry(*ListView1);
    if (selected == nullptr) return;
    const std::string input = ToUtf8(selected->text(0));
    ListView2->clear();
    ListView3->clear();
    SheetTable.Clear();
    ShowHourglass(*this);
    FillWorkbookList(input);
    ListSheets();
    ShowDefaultPointer(*this);
    // The list now shown lives only in ListView3 until the next save of it.
    SheetTable.Clear();
  });
}

void Form1::Command10Click() {
  RunSilently(*this, [this] {
    const std::string folder = ChooseFolder(*this, "Output Folder");
    if (folder.empty()) return;
    // Newest on top; an entry already present is not looked for.
    Combo5->insertItem(0, ToQString(folder));
    Combo5->setCurrentIndex(0);
  });
}

void Form1::Command11Click() {
  const std::string folder = ToUtf8(Combo5->currentText()) + "/";
  if (core::PathKind(folder) == core::kPathFolder) services_.shell.Open(folder, core::kShowDefault);
}

namespace {

// The position of the chosen output directory; -1 when the text field holds
// something typed rather than an entry.
int SelectedOutputEntry(const QComboBox& combo) {
  const int index = combo.currentIndex();
  if (index < 0 || combo.itemText(index) != combo.currentText()) return -1;
  return index;
}

}  // namespace

void Form1::RemoveoutputClick() {
  const int count = Combo5->count();
  const int removed = SelectedOutputEntry(*Combo5);
  if (count == 0 || removed == -1) return;
  Combo5->removeItem(removed);
  if (count - 1 > 0) Combo5->setCurrentIndex(removed == count - 1 ? removed - 1 : removed);
}

void Form1::RemoveAllOutputClick() {
  const int count = Combo5->count();
  for (int i = 0; i < count; ++i) Combo5->removeItem(0);
}

}  // namespace dravella::gui
