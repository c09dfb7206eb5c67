#include "engine/xls/shared_strings.h"

#include <algorithm>

#include "engine/xls/biff_string_reader.h"
#include "engine/xls/prefault.h"

namespace dravella::engine::xls {

SharedStrings ReadSharedStrings(Bytes sst, std::span<const Bytes> continuations) {
  SharedStrings table;
  constexpr size_t kHeaderSize = 8;
  BiffStringReader reader(sst, kHeaderSize, continuations);
  std::string* buffer = table.texts->buffer();
  // Sized once from the records, so the texts are not copied as they grow:
  // a string takes at least 3 bytes there, and its UTF-8 seldom much more
  // than its bytes (it may take twice as many; then the arena still grows).
  size_t record_bytes = sst.size();
  for (const Bytes& piece : continuations) record_bytes += piece.size();
  uint32_t unique_count = 0;
  if (sst.size() >= kHeaderSize) unique_count = LoadU32(sst.data() + 4);
  table.strings.reserve(std::min<size_t>(unique_count, record_bytes / 3));
  buffer->reserve(record_bytes + record_bytes / 4);
  Prefault prefault;  // both filled from the front; neither moves before the end
  prefault.Start({SpareRoom(table.strings), SpareRoom(*buffer)});
  // A string's UTF-8 takes at most 3 bytes for each of its up to 65,535 units.
  constexpr size_t kLongestText = 3 * 65535;
  while (!reader.AtEnd()) {
    if (buffer->capacity() - buffer->size() < kLongestText) prefault.Wait();  // it may move
    const size_t start = buffer->size();
    const bool complete = reader.ReadUnicodeString(2, buffer);
    if (table.strings.size() == table.strings.capacity()) prefault.Wait();  // about to move
    table.strings.push_back(table.texts->Since(start));
    if (!complete) break;
  }
  return table;
}

}  // namespace dravella::engine::xls
