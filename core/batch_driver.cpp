#include "core/batch_driver.h"

#include <filesystem>
#include <memory>
#include <system_error>

#include "core/path_kind.h"
#include "core/quiet_cleanup.h"
#include "core/worksheet_save.h"
#include "engine/automation_error.h"
#include "engine/platform/file_system.h"

namespace dravella::core {
namespace {

namespace fs = std::filesystem;

std::string WithSeparator(std::string folder) {
  if (folder.empty() || !platform::IsPathSeparator(folder.back())) folder += platform::kPathSeparator;
  return folder;
}

int NamingModeOf(const std::string& name_switch) {
  if (name_switch == "/name=1") return kNameSheet;
  if (name_switch == "/name=2") return kNameBookSheet;
  if (name_switch == "/name=3") return kNameNumbered;
  return kNamePlain;
}

int32_t FileFormatOf(const std::string& dbf_switch) {
  if (dbf_switch == "/dbf4") return engine::kFileFormatDbase4;
  if (dbf_switch == "/dbf2") return engine::kFileFormatDbase2;
  return engine::kFileFormatDbase3;
}

// The book name of the command-line program: the file name cut before its
// last dot, and the empty text for a name without a dot.
std::string BookNameOf(const std::string& file_name) {
  const auto dot = file_name.rfind('.');
  return dot == std::string::npos ? std::string() : file_name.substr(0, dot);
}

// Creates the last level of folder; its parent must exist.
bool CreateFolder(const std::string& folder) {
  std::error_code error;
  return fs::create_directory(platform::NativePath(folder), error) && !error;
}

}  // namespace

void WorkbookList::Clear() {
  for (int32_t i = 0; i < WorkbookCount; ++i) slots[i].clear();
  WorkbookCount = 0;
}

std::string ExistingFileName(const std::string& path) {
  if (PathKind(path) != kPathFile) return {};
  return platform::PathText(platform::NativePath(path).filename());
}

std::string WorkbookBaseName(const std::string& path) {
  if (path.empty()) return {};
  std::string name = ExistingFileName(path);
  const auto dot = name.rfind('.');
  if (dot != std::string::npos) name.resize(dot);
  while (!name.empty() && name.back() == ' ') name.pop_back();
  return name;
}

bool CollectWorkbooks(const std::string& folder, WorkbookList& list) {
  list.Clear();
  const std::string prefix = WithSeparator(folder);
  std::error_code error;
  fs::directory_iterator entries(platform::NativePath(prefix), error);
  if (error) return false;
  for (const fs::directory_entry& entry : entries) {
    const std::string name = platform::PathText(entry.path().filename());
    const std::string path = prefix + name;
    // Only visible regular files count; FileExtension makes ".XLS" count too
    // and ".xlsx" not.
    if (PathKind(path) != kPathFile || FileExtension(name) != "xls") continue;
    if (list.WorkbookCount == static_cast<int32_t>(kWorkbookListSlots)) return false;
    list.slots[list.WorkbookCount++] = path;
  }
  return true;
}

bool ConvertWorkbookFile(const std::string& path, const std::string& target_folder,
                         const RunOptions& options, BatchContext& context) {
  const std::string target = WithSeparator(target_folder);
  const std::string file_name = ExistingFileName(path);
  if (file_name.empty()) return false;

  std::shared_ptr<engine::Application> application;
  std::shared_ptr<engine::Workbook> workbook;
  try {
    application = context.applications.CreateObject(engine::kApplicationClass);
    application->SetTableCodePage(options.CodePage);
    workbook = application->WorkbooksOpen(path);
    application->SetDisplayAlerts(false);

    const int mode = NamingModeOf(options.NameSwitch);
    const std::string book_name = BookNameOf(file_name);
    const int32_t file_format = FileFormatOf(options.DbfSwitch);
    const int32_t count = workbook->WorksheetsCount();
    // Worksheet numbers are 16-bit: a workbook with more worksheets fails.
    if (count > INT16_MAX) {
      throw engine::AutomationError(engine::ErrorCode::kBadIndex,
                                    "The workbook has more than 32767 worksheets.");
    }
    for (int32_t number = 1; number <= count; ++number) {
      const auto i = static_cast<int16_t>(number);
      // The name is made before any test, so a skipped worksheet still uses
      // up its number in the numbered mode.
      const std::string out_name =
          context.naming.DbfBaseName(mode, book_name, workbook->Worksheets(i)->Name()) + ".dbf";
      if (!options.OverwriteExisting && PathKind(target + out_name) == kPathFile) continue;
      SaveWorksheetAsDbf(*workbook, i, target + out_name, file_format);
    }
    workbook->Close();
    application->Quit();
    context.naming.SheetCounter = 0;
    return true;
  } catch (const std::exception&) {
    // Abandon the workbook silently after closing what was opened.
    CloseQuietly(workbook.get());
    QuitQuietly(application.get());
    return false;
  }
}

BatchOutcome RunBatch(const RunOptions& options, BatchContext& context) {
  // The list is large; keep it off the stack.
  auto list = std::make_unique<WorkbookList>();
  bool all_converted = true;
  const int kind = PathKind(options.InputPath);
  const bool folder_mode = kind == kPathFolder;

  if (folder_mode) {
    all_converted = CollectWorkbooks(options.InputPath, *list);
  } else if (kind == kPathFile) {
    list->slots[0] = options.InputPath;
    list->WorkbookCount = 1;
  } else {
    all_converted = false;
  }

  if (all_converted) {
    for (int32_t i = 0; i < list->WorkbookCount; ++i) {
      std::string target = options.OutputDir;
      const std::string base = WorkbookBaseName(list->slots[i]);
      if (base.empty()) {
        all_converted = false;
        break;
      }
      if (folder_mode) target += base;
      if (PathKind(target) != kPathFolder && !CreateFolder(target)) {
        all_converted = false;
        break;
      }
      if (!ConvertWorkbookFile(list->slots[i], target, options, context)) all_converted = false;
    }
  }
  list->Clear();

  if (PathKind(options.OutputDir) == kPathFolder && options.OpenOutputFolder) {
    context.shell.Open(options.OutputDir, kShowDefault);
  }
  return all_converted ? BatchOutcome::kAllConverted : BatchOutcome::kSomeFailed;
}

}  // namespace dravella::core
