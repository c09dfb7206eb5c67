#include "gui/saved_lists.h"

#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <fstream>
#include <ios>
#include <iterator>
#include <system_error>

#include "engine/code_pages.h"

namespace dravella::gui {

std::vector<std::string> ReadLines(const std::filesystem::path& file) {
  // A folder of that name opens as a stream but fails, with an exception,
  // when read; so does a file whose reading fails part way.
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) return {};
  std::string text;
  try {
    std::ifstream in(file, std::ios::binary);
    if (!in) return {};
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  } catch (const std::ios_base::failure&) {
    return {};
  }
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
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  QSaveFile out(QFile::decodeName(QByteArray::fromStdString(file.string())));
  if (!out.open(QIODevice::WriteOnly)) return false;
  // The flush is checked on its own: a write cut short by a full disk is not
  // always reported by commit(), which would then put the cut file in place.
  if (out.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size()) ||
      !out.flush()) {
    out.cancelWriting();
    return false;
  }
  return out.commit();
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

std::vector<std::filesystem::path> SaveLists(const std::filesystem::path& folder,
                                             const SavedLists& lists) {
  std::vector<std::filesystem::path> failed;
  const std::vector<std::string> settings = ReadLines(folder / kSettingsFile);
  if (SettingLineIsOn(settings, 0) && !WriteLines(folder / kInputListFile, lists.inputs)) {
    failed.push_back(folder / kInputListFile);
  }
  if (SettingLineIsOn(settings, 1)) {
    std::vector<std::string> outputs = lists.outputs;
    if (outputs.size() > kMaxSavedOutputEntries) outputs.resize(kMaxSavedOutputEntries);
    if (!WriteLines(folder / kOutputListFile, outputs)) failed.push_back(folder / kOutputListFile);
  }
  return failed;
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
