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

// The character set texts and names are written in.
enum class CodePage { k437, k850, k852, k866, k1250, k1251, k1252, k1253, k1254, k1257, kUtf8 };

// "437", "850", ... "1257" and "utf8" (also "UTF-8", any case); else nullopt.
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
};

}  // namespace dravella::engine
