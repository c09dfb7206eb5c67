// The lists and settings kept between runs, as three small text files in the
// settings folder: set.txt (two on/off lines and the tables' code page),
// EXCEL.txt (the input list) and output.txt (the output directories). One
// value per line, each line ended by CR LF when written; LF alone is accepted
// when read. Paths are kept as the file system's bytes, which need not be
// UTF-8. A file that is missing or cannot be read reads as empty. A file is
// written whole to a temporary file that then replaces it, so a crash or a
// full disk keeps the last one saved.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace dravella::gui {

inline constexpr char kSettingsFile[] = "set.txt";
inline constexpr char kInputListFile[] = "EXCEL.txt";
inline constexpr char kOutputListFile[] = "output.txt";

// output.txt holds entries 0 to 200 of the output list, no more.
inline constexpr std::size_t kMaxSavedOutputEntries = 201;

// Every line of the file, without its line end; a final line without one
// counts. A UTF-8 byte-order mark at the start is dropped.
std::vector<std::string> ReadLines(const std::filesystem::path& file);

// Writes file anew with every line ended by CR LF, replacing the old one
// only once the new one is complete; false when it failed.
bool WriteLines(const std::filesystem::path& file, const std::vector<std::string>& lines);

// A setting is on exactly when its line is "1": a blank before or after it,
// an empty line or a missing line mean off.
bool SettingLineIsOn(const std::vector<std::string>& lines, std::size_t index);

struct SavedLists {
  std::vector<std::string> inputs;   // EXCEL.txt
  std::vector<std::string> outputs;  // output.txt
};

// Both lists, whatever set.txt says.
SavedLists RestoreLists(const std::filesystem::path& folder);

// Reads set.txt afresh and writes each list whose setting is on; a list whose
// setting is off keeps the file saved last. Gives the files that could not
// be written.
std::vector<std::filesystem::path> SaveLists(const std::filesystem::path& folder,
                                             const SavedLists& lists);

// The code page tables are written in when set.txt names none (or one no
// longer known).
inline constexpr char kDefaultTableCodePage[] = "1252";

// set.txt as the Setting dialog writes it: "1" or "0" for each box, then the
// key of the tables' code page ("1252", "936", "utf8").
bool WriteSettings(const std::filesystem::path& folder, bool save_inputs, bool save_outputs,
                   std::string_view table_code_page = kDefaultTableCodePage);

// The key of the code page set.txt names for the tables.
std::string SavedTableCodePage(const std::filesystem::path& folder);

}  // namespace dravella::gui
