#include "engine/xls/biff_record_reader.h"

#include "engine/xls/biff_record_ids.h"

namespace dravella::engine::xls {

bool BiffRecordReader::Next(BiffRecord* record) {
  if (offset_ >= stream_.size()) return false;
  uint16_t id = 0;
  uint16_t length = 0;
  if (!ReadU16(stream_, offset_, &id) || !ReadU16(stream_, offset_ + 2, &length) ||
      !HasBytes(stream_, offset_ + 4, length)) {
    cut_short_ = true;
    return false;
  }
  record->id = id;
  record->payload = stream_.subspan(offset_ + 4, length);
  record->offset = offset_;
  offset_ += 4 + size_t{length};
  return true;
}

std::optional<uint16_t> BiffRecordReader::PeekId() const {
  uint16_t id = 0;
  if (!ReadU16(stream_, offset_, &id)) return std::nullopt;
  return id;
}

std::vector<Bytes> BiffRecordReader::TakeContinues() {
  std::vector<Bytes> pieces;
  while (PeekId() == record_id::kContinue) {
    BiffRecord next;
    if (!Next(&next)) break;
    pieces.push_back(next.payload);
  }
  return pieces;
}

}  // namespace dravella::engine::xls
