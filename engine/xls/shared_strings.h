// The shared string table of a BIFF8 workbook (the SST record and its
// CONTINUE records), which LABELSST cells refer to by index.
//
//   SST   total references: 4 | unique strings: 4 | strings (see biff_string_reader.h)
#pragma once

#include <memory>
#include <span>
#include <vector>

#include "engine/xls/byte_reader.h"
#include "engine/xls/text_arena.h"

namespace dravella::engine::xls {

struct SharedStrings {
  std::shared_ptr<TextArena> texts = std::make_shared<TextArena>();
  std::vector<TextRef> strings;
};

// Reads every string the records hold. The counts in the header are not
// trusted (writers get them wrong): a table that ends early keeps the strings
// before the break, including a last one cut short.
SharedStrings ReadSharedStrings(Bytes sst, std::span<const Bytes> continuations);

}  // namespace dravella::engine::xls
