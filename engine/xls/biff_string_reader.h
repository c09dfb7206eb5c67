// Reads the strings of BIFF records, also when they continue into the
// CONTINUE records that follow (the shared string table, STRING records).
//
// BIFF8 strings ("XLUnicodeString"):
//   length (1 or 2 bytes) | options | [rich-text run count: 2] | [phonetic size: 4]
//   | characters: 1 byte each (options bit 0 clear) or UTF-16 (set)
//   | [runs: 4 bytes each] | [phonetic data]
// When the characters break at a record boundary, the next record begins
// with a fresh options byte: the width can change mid-string.
// BIFF2 to BIFF7 strings: length (1 or 2 bytes) | bytes in the code page.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "engine/xls/byte_reader.h"
#include "engine/xls/code_page.h"

namespace dravella::engine::xls {

class BiffStringReader {
 public:
  // Reads from first (starting at offset), then from each continuation in turn.
  BiffStringReader(Bytes first, size_t offset, std::span<const Bytes> continuations = {});

  bool U8(uint8_t* out);
  bool U16(uint16_t* out);
  bool U32(uint32_t* out);
  bool Skip(size_t count);
  // True when no byte is left; moves past exhausted records, so call it
  // only between strings (where no options byte is due).
  bool AtEnd();

  // A BIFF8 string, appended to out as UTF-8. False when the data ends
  // before the string does; out then holds the characters there were.
  bool ReadUnicodeString(size_t length_size, std::string* out);

  // A BIFF2-7 string, appended to out as UTF-8; false (with what there was
  // in out) when the data ends first.
  bool ReadByteString(size_t length_size, const CodePage& page, std::string* out);

 private:
  bool NextSegment();
  bool ReadLength(size_t length_size, uint16_t* out);
  bool ReadCharacters(size_t count, bool wide, std::string* out);

  Bytes segment_;
  size_t offset_;
  std::span<const Bytes> rest_;
  std::u16string scratch_;
  std::vector<uint8_t> bytes_;
};

}  // namespace dravella::engine::xls
