#include "gui/convert_command.h"

#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QTreeWidget>
#include <algorithm>
#include <memory>
#include <string>
#include <utility>

#include "engine/object_model.h"
#include "gui/form1.h"
#include "gui/hourglass.h"
#include "gui/saved_lists.h"
#include "gui/input_list.h"
#include "gui/qstring_convert.h"

namespace dravella::gui {
namespace {

MessageIcon IconOf(core::BoxIcon icon) {
  switch (icon) {
    case core::BoxIcon::kInformation: return MessageIcon::kInformation;
    case core::BoxIcon::kCritical: return MessageIcon::kCritical;
    case core::BoxIcon::kNone: break;
  }
  return MessageIcon::kNone;
}

// The window's application factory, with the code page of the Setting
// dialog given to every application it makes.
class CodePageApplications final : public engine::ApplicationFactory {
 public:
  CodePageApplications(engine::ApplicationFactory& inner, std::string code_page)
      : inner_(inner), code_page_(std::move(code_page)) {}

  std::shared_ptr<engine::Application> CreateObject(std::string_view class_name) override {
    std::shared_ptr<engine::Application> application = inner_.CreateObject(class_name);
    if (application) application->SetTableCodePage(code_page_);
    return application;
  }

 private:
  engine::ApplicationFactory& inner_;
  std::string code_page_;
};

}  // namespace

// The chosen input is the same one the listing reads: the current entry.
std::string FormConvertWindow::SelectedInputText() { return form_.ChosenInputPath(); }

std::string FormConvertWindow::WorkbookEntryText(int32_t workbook) {
  return PathOfEntry(form_.ListView2->topLevelItem(workbook - 1));
}

int FormConvertWindow::NamingMode() { return form_.Combo1->currentIndex() + 1; }

int32_t FormConvertWindow::FileFormat() {
  switch (form_.Combo2->currentIndex()) {
    case 1: return engine::kFileFormatDbase3;
    case 2: return engine::kFileFormatDbase2;
    default: return engine::kFileFormatDbase4;
  }
}

const core::SheetTable& FormConvertWindow::Choices() { return form_.listing_.Choices(); }

// The command runs without returning to the event loop, so the bar and the
// status line are painted at once; repaint() handles no input.
void FormConvertWindow::SetProgressMax(int32_t maximum) {
  // A maximum of 0 would turn the bar into a busy indicator.
  form_.ProgressBar1->setMaximum(std::max(maximum, 1));
}

void FormConvertWindow::SetProgressValue(int32_t value) {
  form_.ProgressBar1->setValue(value);
  form_.ProgressBar1->repaint();
}

void FormConvertWindow::SetStatusLine(const std::string& text) {
  form_.Label1->setText(ToQString(text));
  form_.Label1->repaint();
}

void FormConvertWindow::ShowMessage(const std::string& text, core::BoxIcon icon) {
  form_.services_.messages.Show(text, IconOf(icon));
}

int32_t FormConvertWindow::WorkbookCount() { return form_.ListView2->topLevelItemCount(); }

bool FormConvertWindow::IsWorkbookTicked(int32_t workbook) {
  const QTreeWidgetItem* entry = form_.ListView2->topLevelItem(workbook - 1);
  return entry != nullptr && entry->checkState(0) == Qt::Checked;
}

std::string FormConvertWindow::OutputText() {
  const int index = OutputEntryIndex();
  if (index >= 0) {
    const QByteArray bytes = form_.Combo5->itemData(index).toByteArray();
    if (!bytes.isEmpty()) return bytes.toStdString();
  }
  return PathFromQString(form_.Combo5->currentText());
}

// -1 when the text in the field was typed: it is not the text of the entry
// last picked from the list.
int FormConvertWindow::OutputEntryIndex() {
  const int index = form_.Combo5->currentIndex();
  if (index < 0 || form_.Combo5->itemText(index) != form_.Combo5->currentText()) return -1;
  return index;
}

void FormConvertWindow::SaveSheetChoices() { form_.SaveSheetChoices(); }
void FormConvertWindow::ShowHourglass() { gui::ShowHourglass(form_); }
void FormConvertWindow::ShowDefaultPointer() { gui::ShowDefaultPointer(form_); }

core::OutputNaming& ProgramOutputNaming() {
  static core::OutputNaming naming;
  return naming;
}

void RunConvertCommand(Form1& form) {
  FormConvertWindow window(form);
  CodePageApplications applications(form.Services().applications,
                                    SavedTableCodePage(form.Services().settings_folder));
  core::ConvertCommand command(window, core::ExportContext{applications, ProgramOutputNaming()},
                               form.Services().shell);
  command.Run();
}

}  // namespace dravella::gui
