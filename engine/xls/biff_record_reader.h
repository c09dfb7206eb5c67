// Walks the records of a BIFF stream: a 16-bit id, a 16-bit length, then
// that many bytes of payload.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "engine/xls/byte_reader.h"

namespace dravella::engine::xls {

struct BiffRecord {
  uint16_t id = 0;
  Bytes payload;
  size_t offset = 0;  // of the record's header within the stream
};

class BiffRecordReader {
 public:
  explicit BiffRecordReader(Bytes stream, size_t offset = 0) : stream_(stream), offset_(offset) {}

  // Reads the next record. False at the end of the stream, or when the next
  // record's header or payload runs past it (then cut_short() is true).
  bool Next(BiffRecord* record);

  // The id of the next record, without reading it.
  std::optional<uint16_t> PeekId() const;

  // The payloads of the CONTINUE records that follow, read.
  std::vector<Bytes> TakeContinues();

  bool cut_short() const { return cut_short_; }
  size_t offset() const { return offset_; }
  size_t stream_size() const { return stream_.size(); }
  void Seek(size_t offset) { offset_ = offset; }

 private:
  Bytes stream_;
  size_t offset_;
  bool cut_short_ = false;
};

}  // namespace dravella::engine::xls
