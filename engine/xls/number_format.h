// The date rule: a number is a date when its cell format (its XF record's
// number format) is a date or time format.
#pragma once

#include <bitset>
#include <cstdint>
#include <string_view>
#include <vector>

namespace dravella::engine::xls {

// The built-in format ids that show dates or times: 14-22, 27-36, 45-47, 50-58.
bool IsBuiltInDateFormat(uint16_t id);

// True when the format, outside quoted text, [...] parts and characters
// escaped with a backslash, holds one of d m y h s (either case).
bool IsDateFormatString(std::string_view format);

// The number formats and XF records of a workbook (BIFF5 to BIFF8) or of one
// BIFF2-4 substream, answering "does this XF show dates?" in constant time:
// a format is judged once, when its FORMAT record is read.
class FormatTable {
 public:
  // In BIFF5 and later a format's id is its own and the built-in date ids
  // are dates whatever a FORMAT record says; in BIFF2 to BIFF4 the id is the
  // FORMAT record's position and only the format string counts.
  explicit FormatTable(bool has_built_in_ids);

  void AddFormat(uint16_t id, std::string_view text);
  void AddFormatInOrder(std::string_view text) { AddFormat(static_cast<uint16_t>(next_position_), text); }
  void AddXf(uint16_t format_id) { xf_formats_.push_back(format_id); }

  bool has_xfs() const { return !xf_formats_.empty(); }

  // Whether XF number xf shows dates; false for an XF the table lacks.
  bool IsDateXf(uint32_t xf) const { return xf < xf_formats_.size() && date_formats_[xf_formats_[xf]]; }
  // Whether format id shows dates (BIFF2 cells may name their format directly).
  bool IsDateFormatId(uint16_t id) const { return date_formats_[id]; }

 private:
  bool has_built_in_ids_;
  size_t next_position_ = 0;
  std::bitset<65536> date_formats_;
  std::vector<uint16_t> xf_formats_;
};

}  // namespace dravella::engine::xls
