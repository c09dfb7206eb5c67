#include "engine/xls/shared_strings.h"

#include "engine/xls/biff_string_reader.h"

namespace dravella::engine::xls {

SharedStrings ReadSharedStrings(Bytes sst, std::span<const Bytes> continuations) {
  SharedStrings table;
  constexpr size_t kHeaderSize = 8;
  BiffStringReader reader(sst, kHeaderSize, continuations);
  std::string* buffer = table.texts->buffer();
  while (!reader.AtEnd()) {
    const size_t start = buffer->size();
    const bool complete = reader.ReadUnicodeString(2, buffer);
    table.strings.push_back(table.texts->Since(start));
    if (!complete) break;
  }
  table.texts->Shrink();
  return table;
}

}  // namespace dravella::engine::xls
