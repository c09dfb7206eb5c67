#include "gui/saved_lists.h"

#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <fstream>
#include <iterator>

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
  QSaveFile out(QFile::decodeName(QByteArray::fromStdString(file.string())));
  if (!out.open(QIODevice::WriteOnly)) return false;
  for (const std::string& line : lines) {
    out.write(line.data(), static_cast<qint64>(line.size()));
    out.write("\r\n", 2);
  }
  // A failed write leaves the old file in place.
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

bool WriteSettings(const std::filesystem::path& folder, bool save_inputs, bool save_outputs) {
  return WriteLines(folder / kSettingsFile, {save_inputs ? "1" : "0", save_outputs ? "1" : "0"});
}

}  // namespace dravella::gui
