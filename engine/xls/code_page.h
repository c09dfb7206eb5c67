// Decoding the byte strings of BIFF2 to BIFF7 workbooks, whose CODEPAGE record
// names the code page (Windows 1252 when there is none).
#pragma once

#include <cstdint>
#include <string>

#include "engine/text_codec.h"
#include "engine/xls/byte_reader.h"

namespace dravella::engine::xls {

class CodePage {
 public:
  // Windows 1252.
  CodePage();

  // The code page a CODEPAGE record's value names. A page the reader has no
  // table for reads every byte above 0x7F as '?'.
  static CodePage FromRecordValue(uint16_t value);

  // The code page used; 0 for one the reader has no table for.
  uint16_t number() const { return number_; }

  // Appends a whole text as UTF-8: a double-byte character is never split,
  // so hand over every byte of the text at once.
  void AppendUtf8(Bytes bytes, std::string* out) const;

 private:
  uint16_t number_ = 1252;
  ByteDecoder decoder_;
};

}  // namespace dravella::engine::xls
