// The choices a dBASE table is written with: level, code page, header date.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace dravella::engine {

// The dBASE file layout; the object model's FileFormat codes 7, 8 and 11.
enum class DbfLevel { kDbase2, kDbase3, kDbase4 };

// 7 -> dBASE II, 8 -> dBASE III, 11 -> dBASE IV; anything else has no level.
std::optional<DbfLevel> DbfLevelFromFileFormat(int32_t file_format);

// The character set texts and names are written in; the value is the
// Windows code page number (65001 for UTF-8). Each one has its row in
// engine/code_pages.cpp.
enum class CodePage : uint16_t {
  k437 = 437, k737 = 737, k850 = 850, k852 = 852, k857 = 857, k860 = 860, k861 = 861,
  k863 = 863, k865 = 865, k866 = 866, k874 = 874, k932 = 932, k936 = 936, k949 = 949,
  k950 = 950, k1250 = 1250, k1251 = 1251, k1252 = 1252, k1253 = 1253, k1254 = 1254,
  k1255 = 1255, k1256 = 1256, k1257 = 1257, kUtf8 = 65001,
};

// A page by any spelling the code page table knows ("936", "cp936",
// "utf8", "UTF-8", "65001", any case); else nullopt.
std::optional<CodePage> ParseCodePage(std::string_view text);

struct DbfDate {
  int year = 0;
  int month = 0;
  int day = 0;
};

struct DbfOptions {
  DbfLevel level = DbfLevel::kDbase3;
  CodePage code_page = CodePage::k1252;
  // The date stamped into the header; the day of the save when empty.
  std::optional<DbfDate> header_date;
  // A large table from a grid that reads concurrently is planned and
  // formatted by two threads on a machine with a second core; the bytes
  // are the same either way.
  bool side_by_side = true;
};

}  // namespace dravella::engine
