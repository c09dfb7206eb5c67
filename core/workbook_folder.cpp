#include "core/workbook_folder.h"

#include <filesystem>
#include <system_error>

#include "core/output_naming.h"
#include "core/utf8_text.h"
#include "engine/platform/file_system.h"

namespace dravella::core {
namespace {

namespace fs = std::filesystem;

// What a search for "*.xls" returns: names with a dot whose text after the
// last dot is "xls" in any case.
bool MatchesWorkbookPattern(const std::string& name) {
  constexpr std::string_view kSuffix = ".xls";
  return name.size() > kSuffix.size() &&
         Utf8ToLower(std::string_view(name).substr(name.size() - kSuffix.size())) == kSuffix;
}

}  // namespace

std::vector<std::string> WorkbookNamesInFolder(const std::string& folder) {
  std::vector<std::string> names;
  if (folder.empty()) return names;
  std::error_code error;
  fs::directory_iterator entry(platform::NativePath(folder), error);
  for (; !error && entry != fs::directory_iterator(); entry.increment(error)) {
    const std::string name = platform::PathText(entry->path().filename());
    if (!MatchesWorkbookPattern(name)) continue;
    if (platform::IsHiddenEntry(platform::PathText(entry->path()))) continue;
    std::error_code kind_error;
    if (!entry->is_regular_file(kind_error) || kind_error) continue;
    if (FileExtension(name) != "xls") continue;
    names.push_back(name);
    if (names.size() >= kMaxListedWorkbooks) break;
  }
  return names;
}

std::string FileNameOf(const std::string& file_path) {
  return platform::PathText(platform::NativePath(file_path).filename());
}

}  // namespace dravella::core
