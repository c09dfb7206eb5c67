// Decoding the byte strings of BIFF2 to BIFF7 workbooks, whose CODEPAGE record
// names the code page (Windows 1252 when there is none).
#pragma once

#include <cstdint>
#include <string>

#include "engine/xls/byte_reader.h"

namespace dravella::engine::xls {

class CodePage {
 public:
  // Windows 1252.
  CodePage();

  // The code page a CODEPAGE record's value names. Values the reader has no
  // table for fall back to Windows 1252, except the double-byte pages (932,
  // 936, 949, 950, 1361), whose two-byte characters decode as "?".
  static CodePage FromRecordValue(uint16_t value);

  // The code page actually used (1252 for unknown values).
  uint16_t number() const { return number_; }

  void AppendUtf8(Bytes bytes, std::string* out) const;

 private:
  uint16_t number_ = 1252;
  const char16_t* upper_ = nullptr;  // single-byte pages
  bool (*is_lead_byte_)(uint8_t) = nullptr;  // double-byte pages
};

}  // namespace dravella::engine::xls
