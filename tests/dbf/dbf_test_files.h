// Reading back what the writer wrote: raw bytes, a small independent DBF
// parser, a report of where two tables first differ, and a scratch folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace dravella::engine::testing {

std::string ReadBytes(const std::filesystem::path& path);

struct ParsedField {
  std::string name;
  char type = 0;
  int width = 0;
  int decimals = 0;
  size_t offset = 0;  // in the record, after the deletion flag
};

// A .dbf file as its header describes it (dBASE II, III or IV).
struct ParsedTable {
  std::string bytes;
  uint8_t version = 0;
  int year = 0, month = 0, day = 0;
  uint32_t record_count = 0;
  size_t header_length = 0;
  size_t record_length = 0;
  uint8_t language_driver = 0;  // dBASE III and IV only
  std::vector<ParsedField> fields;
  std::string problem;          // empty when the structure is sound

  std::string Record(size_t record) const;
  std::string Value(size_t record, size_t field) const;  // the field's raw bytes
};

ParsedTable ParseTable(std::string bytes);
ParsedTable ReadTable(const std::filesystem::path& path);

// Where actual first differs from expected, in the table's own terms
// ("field descriptor 2, byte 11", "record 3, byte 5"); empty when equal.
std::string FirstDifference(std::string_view expected, std::string_view actual);

// The text of memo block `block` of a .dbt file (dBASE III: up to 1A 1A;
// dBASE IV: as long as its length says).
std::string MemoText(std::string_view dbt, bool dbase4, uint32_t block);

// A fresh folder under the system's temporary folder, removed at the end.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }
  // The names of the files in the folder, sorted.
  std::vector<std::string> Files() const;

 private:
  std::filesystem::path path_;
};

}  // namespace dravella::engine::testing
