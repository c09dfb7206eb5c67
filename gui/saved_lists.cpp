#include "gui/saved_lists.h"

#include <fstream>
#include <iterator>

#include "engine/code_pages.h"

namespace dravella::gui {

std::vector<std::string> ReadLines(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return {};
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);

  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    const std::size_t next = end == std::string::npos ? text.size() : end + 1;
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = next;
  }
  return lines;
}

bool WriteLines(const std::filesystem::path& file, const std::vector<std::string>& lines) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  for (const std::string& line : lines) out << line << "\r\n";
  out.close();
  return !out.fail();
}

bool SettingLineIsOn(const std::vector<std::string>& lines, std::size_t index) {
  return index < lines.size() && lines[index] == "1";
}

SavedLists RestoreLists(const std::filesystem::path& folder) {
  SavedLists lists;
  lists.inputs = ReadLines(folder / kInputListFile);
  lists.outputs = ReadLines(folder / kOutputListFile);
  return lists;
}

void SaveLists(const std::filesystem::path& folder, const SavedLists& lists) {
  const std::vector<std::string> settings = ReadLines(folder / kSettingsFile);
  if (SettingLineIsOn(settings, 0)) WriteLines(folder / kInputListFile, lists.inputs);
  if (SettingLineIsOn(settings, 1)) {
    std::vector<std::string> outputs = lists.outputs;
    if (outputs.size() > kMaxSavedOutputEntries) outputs.resize(kMaxSavedOutputEntries);
    WriteLines(folder / kOutputListFile, outputs);
  }
}

bool WriteSettings(const std::filesystem::path& folder, bool save_inputs, bool save_outputs,
                   std::string_view table_code_page) {
  return WriteLines(folder / kSettingsFile, {save_inputs ? "1" : "0", save_outputs ? "1" : "0",
                                             std::string(table_code_page)});
}

std::string SavedTableCodePage(const std::filesystem::path& folder) {
  const std::vector<std::string> lines = ReadLines(folder / kSettingsFile);
  const engine::CodePageFacts* page =
      lines.size() > 2 ? engine::FindCodePage(lines[2]) : nullptr;
  return page != nullptr ? std::string(page->key) : std::string(kDefaultTableCodePage);
}

}  // namespace dravella::gui
