// The input list of form1 and the commands on it: Add Excel, Add Folder,
// Remove File, Remove All Items, Up, Down and choosing an input; the folder
// scan that rebuilds the workbook list; and the commands on the output
// directory list (Browse, View and the two removals).
//
// A command that fails ends where it happened, the lists keep what was done
// before it, and the pointer goes back to the default.
#include "gui/input_list.h"

#include <QComboBox>
#include <QTreeWidget>
#include <exception>

#include "core/path_kind.h"
#include "core/workbook_folder.h"
#include "dialogs/common_dialogs.h"
#include "gui/convert_command.h"
#include "gui/form1.h"
#include "gui/hourglass.h"
#include "gui/qstring_convert.h"
#include "gui/qt_dialog_system.h"

namespace dravella::gui {

QTreeWidgetItem* NewPathEntry(const std::string& path) {
  auto* entry = new QTreeWidgetItem({PathToQString(path)});
  entry->setData(0, kPathRole, QByteArray::fromStdString(path));
  return entry;
}

std::string PathOfEntry(const QTreeWidgetItem* entry) {
  if (entry == nullptr) return {};
  const QVariant bytes = entry->data(0, kPathRole);
  // An entry made without its bytes stands for the path its text names.
  return bytes.isValid() ? bytes.toByteArray().toStdString() : PathFromQString(entry->text(0));
}

void MoveCurrentEntry(QTreeWidget& list, int step) {
  QTreeWidgetItem* current = list.currentItem();
  if (current == nullptr) return;
  const int from = list.indexOfTopLevelItem(current);
  const int to = from + step;
  if (to < 0 || to >= list.topLevelItemCount()) return;
  QTreeWidgetItem* entry = list.takeTopLevelItem(from);
  list.insertTopLevelItem(to, entry);
  list.setCurrentItem(entry);
  list.scrollToItem(entry);
}

namespace {

QTreeWidgetItem* AppendInput(QTreeWidget& list, const ImageList& images, const std::string& path,
                             int image) {
  QTreeWidgetItem* entry = NewPathEntry(path);
  entry->setIcon(0, images.Image(image));
  list.addTopLevelItem(entry);
  return entry;
}

// Runs one command's steps; an error ends them with its description shown,
// and the pointer is the default afterwards however they ended.
template <typename Steps>
void RunCommand(Form1& window, Steps steps) {
  try {
    steps();
  } catch (const std::exception& error) {
    ShowDefaultPointer(window);
    window.Services().messages.Show(error.what(), MessageIcon::kCritical);
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
  RebuildingScope rebuilding(rebuilding_);
  // The worksheets on screen belong to a workbook no longer listed.
  listing_.Forget(true);
  ListView2->clear();
  ListView3->clear();
  std::vector<std::string> names;
  if (core::PathKind(path) == core::kPathFile) {
    names.push_back(core::FileNameOf(path));
  } else {
    names = core::WorkbookNamesInFolder(path);
  }
  QList<QTreeWidgetItem*> entries;
  entries.reserve(static_cast<qsizetype>(names.size()));
  for (const std::string& name : names) {
    QTreeWidgetItem* entry = NewPathEntry(name);
    entry->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
                    Qt::ItemNeverHasChildren);
    entry->setCheckState(0, Qt::Checked);
    entries.push_back(entry);
  }
  ListView2->addTopLevelItems(entries);
  // The first workbook is the chosen one, so the listing that follows has one.
  if (!entries.isEmpty()) ListView2->setCurrentItem(entries.first());
  ListView2->update();
}

void Form1::Command1Click() {
  RunCommand(*this, [this] {
    dialogs::CCommonDialogs dialog(services_.dialogs);
    dialog.Init(WindowHandleOf(this));
    dialog.SetTitle("Select Excel File");
    if (!dialog.ShowOpen()) return;
    const std::string file = dialog.FileName();
    RebuildingScope rebuilding(rebuilding_);
    QTreeWidgetItem* entry = AppendInput(*ListView1, *ImageList1, file, kImageWorkbook);
    ListView1->setCurrentItem(entry);
    ListView1->scrollToItem(entry);
    listed_input_ = entry;
    FillWorkbookList(file);
    ShowHourglass(*this);
    ListSheets(false);
  });
}

void Form1::Command5Click() {
  RunCommand(*this, [this] {
    const std::string folder = ChooseFolder(*this, "Add all excel files in folder");
    if (folder.empty()) return;
    RebuildingScope rebuilding(rebuilding_);
    QTreeWidgetItem* entry = AppendInput(*ListView1, *ImageList1, folder, kImageFolder);
    ListView1->setCurrentItem(entry);
    listed_input_ = entry;
    FillWorkbookList(folder);
    ListView1->scrollToItem(entry);
    ShowHourglass(*this);
    ListSheets(false);
  });
}

void Form1::Command2Click() {
  RunCommand(*this, [this] {
    QTreeWidgetItem* current = ListView1->currentItem();
    if (current == nullptr) return;
    RebuildingScope rebuilding(rebuilding_);
    const int removed_at = ListView1->indexOfTopLevelItem(current);  // from 0
    delete ListView1->takeTopLevelItem(removed_at);
    if (ListView1->topLevelItemCount() > 0) {
      // The entry before the removed one, or the new first entry.
      QTreeWidgetItem* neighbour = ListView1->topLevelItem(removed_at > 0 ? removed_at - 1 : 0);
      ListView1->setCurrentItem(neighbour);
      listed_input_ = neighbour;
      FillWorkbookList(PathOfEntry(neighbour));
      ShowHourglass(*this);
      ListSheets(false);
    } else {
      listed_input_ = nullptr;
      listing_.Forget(true);
      ListView2->clear();
      ListView3->clear();
    }
  });
}

void Form1::RemoveAllClick() {
  RebuildingScope rebuilding(rebuilding_);
  listed_input_ = nullptr;
  listing_.Forget(true);
  ListView1->clear();
  ListView2->clear();
  ListView3->clear();
}

// Up and Down move the entry only; the other lists are untouched.
void Form1::Command3Click() {
  RebuildingScope rebuilding(rebuilding_);
  MoveCurrentEntry(*ListView1, -1);
}

void Form1::Command4Click() {
  RebuildingScope rebuilding(rebuilding_);
  MoveCurrentEntry(*ListView1, +1);
}

void Form1::ListView1ItemClick() {
  RunCommand(*this, [this] {
    QTreeWidgetItem* current = ListView1->currentItem();
    if (current == nullptr) return;
    listed_input_ = current;
    ShowHourglass(*this);
    FillWorkbookList(PathOfEntry(current));
    ListSheets(false);
    // The list now shown lives only in ListView3 until the next save of it.
    listing_.Forget(false);
  });
}

void Form1::Command10Click() {
  RunCommand(*this, [this] {
    const std::string folder = ChooseFolder(*this, "Output Folder");
    if (folder.empty()) return;
    // Newest on top; an entry already present is not looked for.
    Combo5->insertItem(0, PathToQString(folder), QByteArray::fromStdString(folder));
    Combo5->setCurrentIndex(0);
  });
}

void Form1::Command11Click() {
  FormConvertWindow window(*this);
  const std::string text = window.OutputText();
  // An empty box names no folder; "/" would open the file system's root.
  if (text.empty()) return;
  const std::string folder = text + "/";
  if (core::PathKind(folder) == core::kPathFolder) services_.shell.Open(folder, core::kShowDefault);
}

void Form1::RemoveoutputClick() {
  const int count = Combo5->count();
  FormConvertWindow window(*this);
  const int removed = window.OutputEntryIndex();
  if (count == 0 || removed == -1) return;
  Combo5->removeItem(removed);
  if (count - 1 > 0) Combo5->setCurrentIndex(removed == count - 1 ? removed - 1 : removed);
}

void Form1::RemoveAllOutputClick() {
  const int count = Combo5->count();
  for (int i = 0; i < count; ++i) Combo5->removeItem(0);
}

}  // namespace dravella::gui
