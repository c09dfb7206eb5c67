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

void FormatTable::AddFormat(uint16_t id, std::string text) {
  formats_[id] = std::move(text);
  ++next_position_;
  date_xfs_stale_ = true;
}

void FormatTable::AddXf(uint16_t format_id) {
  xf_formats_.push_back(format_id);
  date_xfs_stale_ = true;
}

bool FormatTable::IsDateFormatId(uint16_t id) const {
  if (has_built_in_ids_ && IsBuiltInDateFormat(id)) return true;
  const auto it = formats_.find(id);
  return it != formats_.end() && IsDateFormatString(it->second);
}

bool FormatTable::IsDateXf(uint32_t xf) const {
  if (date_xfs_stale_) {
    date_xfs_.assign(xf_formats_.size(), false);
    for (size_t i = 0; i < xf_formats_.size(); ++i) date_xfs_[i] = IsDateFormatId(xf_formats_[i]);
    date_xfs_stale_ = false;
  }
  return xf < date_xfs_.size() && date_xfs_[xf];
}

}  // namespace dravella::engine::xls
