#include "gui/convert_command.h"

#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QTreeWidget>
#include <algorithm>
#include <memory>
#include <string>
#include <utility>

#include "core/convert_command.h"
#include "engine/object_model.h"
#include "gui/form1.h"
#include "gui/hourglass.h"
#include "gui/saved_lists.h"
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

// The window as the Convert command sees it.
class FormConvertWindow final : public core::ConvertWindow {
 public:
  explicit FormConvertWindow(Form1& form) : form_(form) {}

  std::string SelectedInputText() override {
    if (form_.ListView1->topLevelItemCount() == 0) return {};
    const QTreeWidgetItem* selected = form_.ListView1->currentItem();
    return selected != nullptr ? ToUtf8(selected->text(0)) : std::string();
  }
  std::string WorkbookEntryText(int32_t workbook) override {
    const QTreeWidgetItem* entry = form_.ListView2->topLevelItem(workbook - 1);
    return entry != nullptr ? ToUtf8(entry->text(0)) : std::string();
  }
  int NamingMode() override { return form_.Combo1->currentIndex() + 1; }
  int32_t FileFormat() override {
    switch (form_.Combo2->currentIndex()) {
      case 1: return engine::kFileFormatDbase3;
      case 2: return engine::kFileFormatDbase2;
      default: return engine::kFileFormatDbase4;
    }
  }
  const core::SheetTable& Choices() override { return form_.SheetTable; }

  // The command runs without returning to the event loop, so the bar and the
  // status line are painted at once; repaint() handles no input.
  void SetProgressMax(int32_t maximum) override {
    // A maximum of 0 would turn the bar into a busy indicator.
    form_.ProgressBar1->setMaximum(std::max(maximum, 1));
  }
  void SetProgressValue(int32_t value) override {
    form_.ProgressBar1->setValue(value);
    form_.ProgressBar1->repaint();
  }
  void SetStatusLine(const std::string& text) override {
    form_.Label1->setText(ToQString(text));
    form_.Label1->repaint();
  }
  void ShowMessage(const std::string& text, core::BoxIcon icon) override {
    form_.Services().messages.Show(text, IconOf(icon));
  }

  int32_t WorkbookCount() override { return form_.ListView2->topLevelItemCount(); }
  bool IsWorkbookTicked(int32_t workbook) override {
    const QTreeWidgetItem* entry = form_.ListView2->topLevelItem(workbook - 1);
    return entry != nullptr && entry->checkState(0) == Qt::Checked;
  }
  std::string OutputText() override { return ToUtf8(form_.Combo5->currentText()); }
  // -1 when the text in the field was typed: it is not the text of the entry
  // last picked from the list.
  int OutputEntryIndex() override {
    const int index = form_.Combo5->currentIndex();
    if (index < 0 || form_.Combo5->itemText(index) != form_.Combo5->currentText()) return -1;
    return index;
  }
  void SaveSheetChoices() override { form_.SaveSheetChoices(); }
  void ShowHourglass() override { gui::ShowHourglass(form_); }
  void ShowDefaultPointer() override { gui::ShowDefaultPointer(form_); }

 private:
  Form1& form_;
};

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
