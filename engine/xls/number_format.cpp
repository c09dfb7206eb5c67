#include "engine/xls/number_format.h"

namespace dravella::engine::xls {

bool IsBuiltInDateFormat(uint16_t id) {
  return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) || (id >= 50 && id <= 58);
}

bool IsDateFormatString(std::string_view format) {
  for (size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    if (c == '"' || c == '[') {
      // Quoted text and [colour], [$-409], [h] parts hold no date codes of
      // their own; an unclosed one runs to the end.
      const size_t close = format.find(c == '"' ? '"' : ']', i + 1);
      if (close == std::string_view::npos) return false;
      i = close;
    } else if (c == '\\') {
      ++i;  // the escaped character is shown as it is
    } else {
      switch (c) {
        case 'd': case 'D': case 'm': case 'M': case 'y': case 'Y':
        case 'h': case 'H': case 's': case 'S':
          return true;
        default:
          break;
      }
    }
  }
  return false;
}

FormatTable::FormatTable(bool has_built_in_ids) : has_built_in_ids_(has_built_in_ids) {
  if (!has_built_in_ids) return;
  for (uint32_t id = 0; id < 64; ++id) date_formats_[id] = IsBuiltInDateFormat(static_cast<uint16_t>(id));
}

void FormatTable::AddFormat(uint16_t id, std::string_view text) {
  date_formats_[id] = (has_built_in_ids_ && IsBuiltInDateFormat(id)) || IsDateFormatString(text);
  ++next_position_;
}

}  // namespace dravella::engine::xls
