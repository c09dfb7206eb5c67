// The date rule: a number is a date when its cell format (its XF record's
// number format) is a date or time format.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace dravella::engine::xls {

// The built-in format ids that show dates or times: 14-22, 27-36, 45-47, 50-58.
bool IsBuiltInDateFormat(uint16_t id);

// True when the format, outside quoted text, [...] parts and characters
// escaped with a backslash, holds one of d m y h s (either case).
bool IsDateFormatString(std::string_view format);

// The number formats and XF records of a workbook (BIFF5 to BIFF8) or of one
// BIFF2-4 substream, answering "does this XF show dates?".
class FormatTable {
 public:
  // In BIFF5 and later a format's id is its own and ids below 164 are
  // built-in; in BIFF2 to BIFF4 the id is the FORMAT record's position.
  explicit FormatTable(bool has_built_in_ids) : has_built_in_ids_(has_built_in_ids) {}

  void AddFormat(uint16_t id, std::string text);
  void AddFormatInOrder(std::string text) { AddFormat(static_cast<uint16_t>(next_position_), std::move(text)); }
  void AddXf(uint16_t format_id);

  size_t xf_count() const { return xf_formats_.size(); }
  bool has_xfs() const { return !xf_formats_.empty(); }

  // Whether XF number xf shows dates; false for an XF the table lacks.
  bool IsDateXf(uint32_t xf) const;
  // Whether format id shows dates (used where a cell names its format directly).
  bool IsDateFormatId(uint16_t id) const;

 private:
  bool has_built_in_ids_;
  size_t next_position_ = 0;
  std::map<uint16_t, std::string> formats_;
  std::vector<uint16_t> xf_formats_;
  // Filled on first use after a change: one flag per XF.
  mutable std::vector<bool> date_xfs_;
  mutable bool date_xfs_stale_ = true;
};

}  // namespace dravella::engine::xls
