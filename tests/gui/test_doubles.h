// Stand-ins for the window's outside world: recorded message boxes and shell
// requests, and a dialog system that answers from a script.
#pragma once

#include <QTemporaryDir>
#include <cstring>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/shell_open.h"
#include "dialogs/dialog_system.h"
#include "gui/message_box.h"
#include "gui/window_services.h"

namespace dravella::testing {

struct ShownMessage {
  std::string text;
  gui::MessageIcon icon;
};

class RecordingMessageBoxes final : public gui::MessageBoxes {
 public:
  void Show(const std::string& text, gui::MessageIcon icon) override { shown.push_back({text, icon}); }
  std::vector<ShownMessage> shown;
};

struct ShellRequest {
  std::string target;
  int show_mode;
  bool operator==(const ShellRequest&) const = default;
};

class RecordingShellOpener final : public core::ShellOpener {
 public:
  bool Open(const std::string& target, int show_mode) override {
    requests.push_back({target, show_mode});
    return answer;
  }
  std::vector<ShellRequest> requests;
  bool answer = true;
};

// Keeps a copy of every record it is handed (with the texts the pointers
// named at the time of the call) and answers with the next scripted step.
class ScriptedDialogSystem final : public dialogs::DialogSystem {
 public:
  // What the user does in a file or folder dialog: nullopt cancels.
  std::deque<std::optional<std::string>> file_answers;
  std::deque<std::optional<std::string>> folder_answers;
  std::deque<std::optional<std::uint32_t>> color_answers;
  struct FontAnswer {
    std::string face;
    std::int32_t point_tenths;
    std::uint16_t font_type;
  };
  std::deque<std::optional<FontAnswer>> font_answers;
  std::deque<int> print_answers;
  std::deque<int> properties_answers;

  int log_pixels_y = 96;
  std::optional<std::string> default_printer;
  dialogs::DeviceContext printer_context = 0;
  bool printer_opens = true;
  std::string program_folder = "/opt/dravella";

  // Copies of the records as they arrived.
  std::vector<dialogs::OpenFileNameRecord> open_records;
  std::vector<dialogs::OpenFileNameRecord> save_records;
  std::vector<std::string> file_buffers_in;   // the whole file buffer, NULs included
  std::vector<std::string> title_buffers_in;  // the whole file-title buffer
  std::vector<std::string> filters_in;        // the filter list up to its empty text
  std::vector<std::string> initial_dirs_in;
  std::vector<std::optional<std::string>> titles_in;
  std::vector<std::optional<std::string>> def_exts_in;
  std::vector<dialogs::BrowseInfoRecord> browse_records;
  std::vector<std::string> browse_titles_in;
  std::vector<dialogs::ChooseColorRecord> color_records;
  std::vector<std::vector<std::uint32_t>> custom_colors_in;
  std::vector<dialogs::ChooseFontRecord> font_records;
  std::vector<dialogs::LogFontRecord> log_fonts_in;
  std::vector<dialogs::PrintDlgRecord> print_records;
  std::vector<std::string> opened_printers;
  std::vector<dialogs::PrinterDefaultsRecord> printer_defaults;
  std::vector<dialogs::WindowHandle> properties_owners;
  int closed_printers = 0;

  int GetOpenFileName(dialogs::OpenFileNameRecord& record) override {
    open_records.push_back(record);
    return AnswerFile(record);
  }
  int GetSaveFileName(dialogs::OpenFileNameRecord& record) override {
    save_records.push_back(record);
    return AnswerFile(record);
  }
  bool BrowseForFolder(const dialogs::BrowseInfoRecord& info, char* path_buffer) override {
    browse_records.push_back(info);
    browse_titles_in.push_back(info.lpszTitle ? info.lpszTitle : "<none>");
    const auto answer = Next(folder_answers);
    if (!answer) return false;
    // An answer of kMaxPath bytes or more stands for an item without a usable path.
    if (answer->size() < dialogs::kMaxPath) {
      std::memcpy(path_buffer, answer->c_str(), answer->size() + 1);
    }
    return true;
  }
  int ChooseColor(dialogs::ChooseColorRecord& record) override {
    color_records.push_back(record);
    custom_colors_in.emplace_back(record.lpCustColors,
                                  record.lpCustColors + dialogs::kCustomColorCount);
    const auto answer = Next(color_answers);
    if (!answer) return 0;
    record.rgbResult = *answer;
    return 1;
  }
  bool choose_font_throws = false;

  int ChooseFont(dialogs::ChooseFontRecord& record) override {
    font_records.push_back(record);
    if (choose_font_throws) throw std::runtime_error("font dialog failed");
    log_fonts_in.push_back(*record.lpLogFont);
    const auto answer = Next(font_answers);
    if (!answer) return 0;
    std::memset(record.lpLogFont->lfFaceName, 0, dialogs::kFaceNameSize);
    std::memcpy(record.lpLogFont->lfFaceName, answer->face.data(), answer->face.size());
    record.iPointSize = answer->point_tenths;
    record.nFontType = answer->font_type;
    return 1;
  }
  int PrintDlg(dialogs::PrintDlgRecord& record) override {
    print_records.push_back(record);
    return NextInt(print_answers);
  }
  int ScreenLogPixelsY() override { return log_pixels_y; }
  std::optional<std::string> DefaultPrinterName() override { return default_printer; }
  dialogs::DeviceContext DefaultPrinterContext() override { return printer_context; }
  int OpenPrinter(const std::string& name, dialogs::PrinterHandle* printer,
                  const dialogs::PrinterDefaultsRecord& defaults) override {
    opened_printers.push_back(name);
    printer_defaults.push_back(defaults);
    if (!printer_opens) return 0;
    *printer = 42;
    return 1;
  }
  int PrinterProperties(dialogs::WindowHandle owner, dialogs::PrinterHandle) override {
    properties_owners.push_back(owner);
    return NextInt(properties_answers);
  }
  int ClosePrinter(dialogs::PrinterHandle) override {
    ++closed_printers;
    return 1;
  }
  dialogs::InstanceHandle ProgramInstance() override { return 0x400000; }
  std::string ProgramFolder() override { return program_folder; }

 private:
  template <typename T>
  static std::optional<T> Next(std::deque<std::optional<T>>& answers) {
    if (answers.empty()) return std::nullopt;
    auto answer = answers.front();
    answers.pop_front();
    return answer;
  }
  static int NextInt(std::deque<int>& answers) {
    if (answers.empty()) return 0;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  static std::string FilterList(const char* list) {
    std::string text;
    if (list == nullptr) return text;
    while (*list != '\0') {
      const std::string piece = list;
      text += piece;
      text += '\0';
      list += piece.size() + 1;
    }
    return text;
  }
  int AnswerFile(dialogs::OpenFileNameRecord& record) {
    file_buffers_in.emplace_back(record.lpstrFile, record.nMaxFile);
    title_buffers_in.emplace_back(record.lpstrFileTitle, record.nMaxFileTitle);
    filters_in.push_back(FilterList(record.lpstrFilter));
    initial_dirs_in.push_back(record.lpstrInitialDir ? record.lpstrInitialDir : "<none>");
    titles_in.push_back(record.lpstrTitle ? std::optional<std::string>(record.lpstrTitle) : std::nullopt);
    def_exts_in.push_back(record.lpstrDefExt ? std::optional<std::string>(record.lpstrDefExt)
                                             : std::nullopt);
    const auto answer = Next(file_answers);
    if (!answer) return 0;
    std::memcpy(record.lpstrFile, answer->c_str(), answer->size() + 1);
    const std::size_t slash = answer->rfind('/');
    const std::string name = slash == std::string::npos ? *answer : answer->substr(slash + 1);
    std::memcpy(record.lpstrFileTitle, name.c_str(), name.size() + 1);
    return 1;
  }
};

// A window's worth of stand-ins and a fresh folder for its saved lists.
struct TestServices {
  RecordingMessageBoxes messages;
  RecordingShellOpener shell;
  ScriptedDialogSystem dialogs;
  QTemporaryDir program_dir;
  QTemporaryDir settings_dir;

  std::filesystem::path SettingsFolder() const { return settings_dir.path().toStdString(); }
  std::filesystem::path ProgramFolder() const { return program_dir.path().toStdString(); }
  gui::WindowServices Services() {
    return gui::WindowServices{messages, shell, dialogs, ProgramFolder(), SettingsFolder()};
  }
};

}  // namespace dravella::testing
