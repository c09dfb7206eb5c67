// The memo file (.dbt) beside a dBASE III or IV table: 512-byte blocks,
// block 0 its header, each text starting a new block.
//
//   dBASE III                                dBASE IV
//   block 0  [0..3]  next free block (LE)    block 0  [0..3]   next free block (LE)
//            [16]    0x03                             [20..21] block size, 512 (LE)
//            rest    0x00                             rest     0x00
//   a text   its bytes (1A as '?'), 1A 1A    a text   FF FF 08 00, its length + 8
//                                                     (LE, 4 bytes), its bytes
//   then 0x00 up to the end of the text's last block
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/dbf/dbf_options.h"
#include "engine/dbf/staged_file.h"

namespace dravella::engine::dbf {

inline constexpr size_t kMemoBlockSize = 512;

// The blocks one text of so many bytes fills.
uint64_t MemoBlocksFor(DbfLevel level, size_t text_bytes);

class MemoWriter {
 public:
  // Writes block 0; the next free block is filled in by Finish.
  MemoWriter(DbfLevel level, StagedFile& file);

  // Appends a text (already in the table's code page); returns its block.
  uint32_t Append(std::string_view bytes);

  // Completes block 0. The file's own Finish reports any write failure.
  void Finish();

 private:
  void PadToBlock(uint64_t bytes_used);

  DbfLevel level_;
  StagedFile& file_;
  uint32_t next_block_ = 1;
};

}  // namespace dravella::engine::dbf
