#include "core/batch_driver.h"

#include <filesystem>
#include <memory>
#include <set>
#include <system_error>

#include "core/output_entries.h"
#include "core/path_kind.h"
#include "core/utf8_text.h"
#include "core/workbook_conversion.h"
#include "engine/platform/file_system.h"

namespace dravella::core {
namespace {

namespace fs = std::filesystem;

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

// Every worksheet, under its own name; nothing to show.
class EveryWorksheet final : public ConversionHost {
 public:
  bool ChooseWorksheet(int32_t, engine::Worksheet& sheet, std::string& name) override {
    name = sheet.Name();
    return true;
  }
};

// The workbook folders of a folder run, compared without letter case: a
// workbook whose folder name an earlier one of the run got takes _2, _3 ...
class FolderNames {
 public:
  std::string Claim(const std::string& base) {
    std::string name = base;
    for (int n = 2; taken_.count(Utf8ToLower(name)) != 0; ++n) name = base + "_" + std::to_string(n);
    taken_.insert(Utf8ToLower(name));
    return name;
  }

 private:
  std::set<std::string> taken_;
};

}  // namespace

std::string FailureLine(const std::string& workbook, const std::string& worksheet,
                        const std::string& reason) {
  std::string line = workbook;
  if (!worksheet.empty()) line += ", worksheet \"" + worksheet + "\"";
  return line + ": " + (reason.empty() ? std::string("failed for an unknown reason") : reason);
}

std::string ReplacedCharactersLine(const std::string& workbook, const ReplacedCharacters& table) {
  const std::string characters = table.count == 1 ? " character" : " characters";
  return workbook + ", worksheet \"" + table.worksheet + "\": warning: " +
         std::to_string(table.count) + characters + " written as '?' in " + table.table +
         ": the code page cannot hold them (try /cp=utf8 or the workbook's own code page)";
}

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

bool CollectWorkbooks(const std::string& folder, WorkbookList& list, std::string* reason) {
  list.Clear();
  const std::string prefix = WithSeparator(folder);
  std::error_code error;
  fs::directory_iterator entry(platform::NativePath(prefix), error);
  for (; !error && entry != fs::directory_iterator(); entry.increment(error)) {
    const std::string name = platform::PathText(entry->path().filename());
    const std::string path = prefix + name;
    // Only visible regular files count; FileExtension makes ".XLS" count too
    // and ".xlsx" not.
    if (PathKind(path) != kPathFile || FileExtension(name) != "xls") continue;
    if (list.WorkbookCount == static_cast<int32_t>(kWorkbookListSlots)) {
      if (reason != nullptr) {
        *reason = "more than " + std::to_string(kWorkbookListSlots) + " workbooks in " + folder;
      }
      return false;
    }
    list.slots[list.WorkbookCount++] = path;
  }
  if (error) {
    if (reason != nullptr) *reason = "cannot list the folder " + folder + ": " + error.message();
    return false;
  }
  return true;
}

bool ConvertWorkbookFile(const std::string& path, const std::string& target_folder,
                         const RunOptions& options, BatchContext& context) {
  const std::string file_name = ExistingFileName(path);
  if (file_name.empty()) {
    context.Fail(path, "", "the workbook no longer exists");
    return false;
  }
  ConversionSettings settings;
  settings.naming_mode = NamingModeOf(options.NameSwitch);
  settings.book_name = BookNameOf(file_name);
  settings.file_format = FileFormatOf(options.DbfSwitch);
  settings.code_page = options.CodePage;
  settings.keep_existing = !options.OverwriteExisting;
  EveryWorksheet host;
  const ConversionReport report =
      ConvertWorkbookInto(path, target_folder, settings, host, context.applications, context.naming);
  for (const ReplacedCharacters& replaced : report.replaced) {
    context.Replaced(path, replaced);
  }
  if (!report.converted) context.Fail(path, report.worksheet, report.reason);
  return report.converted;
}

BatchOutcome RunBatch(const RunOptions& options, BatchContext& context) {
  // The list is large; keep it off the stack.
  auto list = std::make_unique<WorkbookList>();
  bool all_converted = true;
  const int kind = PathKind(options.InputPath);
  const bool folder_mode = kind == kPathFolder;

  if (folder_mode) {
    std::string reason;
    all_converted = CollectWorkbooks(options.InputPath, *list, &reason);
    if (!all_converted) context.Fail(options.InputPath, "", reason);
  } else if (kind == kPathFile) {
    list->slots[0] = options.InputPath;
    list->WorkbookCount = 1;
  } else {
    all_converted = false;
    context.Fail(options.InputPath, "", "neither an existing file nor an existing folder");
  }

  if (all_converted) {
    FolderNames folders;
    for (int32_t i = 0; i < list->WorkbookCount; ++i) {
      std::string target = options.OutputDir;
      const std::string base = WorkbookBaseName(list->slots[i]);
      if (base.empty()) {
        context.Fail(list->slots[i], "", "the workbook no longer exists");
        all_converted = false;
        break;
      }
      if (folder_mode) target = JoinPath(target, folders.Claim(base));
      std::string reason;
      if (!IsExistingFolder(target) && !CreateOneFolder(target, &reason)) {
        context.Fail(list->slots[i], "", reason);
        all_converted = false;
        break;
      }
      if (!ConvertWorkbookFile(list->slots[i], target, options, context)) all_converted = false;
    }
  }
  list->Clear();

  if (IsExistingFolder(options.OutputDir) && options.OpenOutputFolder) {
    context.shell.Open(options.OutputDir, kShowDefault);
  }
  return all_converted ? BatchOutcome::kAllConverted : BatchOutcome::kSomeFailed;
}

}  // namespace dravella::core
