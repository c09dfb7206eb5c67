// Walks the records of a BIFF stream: a 16-bit id, a 16-bit length, then
// that many bytes of payload.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "engine/status.h"
#include "engine/xls/biff_record_ids.h"
#include "engine/xls/byte_reader.h"

namespace dravella::engine::xls {

class ByteSource;

struct BiffRecord {
  uint16_t id = 0;
  Bytes payload;
  size_t offset = 0;  // of the record's header within the stream
};

// Reads from a stream in memory, or from a stream source through a window
// that moves along: a record and the CONTINUE records after it are always
// in the window together, so their payloads stay valid until the next
// record is read. Offsets are the stream's in both cases.
class BiffRecordReader {
 public:
  explicit BiffRecordReader(Bytes stream, size_t offset = 0) : stream_(stream), offset_(offset) {}
  explicit BiffRecordReader(const ByteSource& source, size_t offset = 0);

  // Reads the next record. False at the end of the stream, or when the next
  // record's header or payload runs past it (then cut_short() is true).
  // Inline: it runs once per cell.
  bool Next(BiffRecord* record) {
    // The common case first: a whole record in the stream or window, and the
    // next header there too, starting no CONTINUE record.
    if (offset_ >= window_start_ && offset_ < stream_size_) {
      const size_t local = offset_ - window_start_;
      const uint8_t* bytes = stream_.data();
      const size_t size = stream_.size();
      if (local + kHeaderSize <= size) {
        const uint16_t length = LoadU16(bytes + local + 2);
        const size_t next = local + kHeaderSize + length;
        const bool followed_in_window =
            next + 2 <= size && LoadU16(bytes + next) != record_id::kContinue;
        // From a source the next header must be in the window too, or a
        // CONTINUE record beyond it might be missed; a stream in memory is
        // all there.
        if ((followed_in_window || ((source_ == nullptr || !keep_continues_) && next <= size)) &&
            read_error_.ok()) {
          record->id = LoadU16(bytes + local);
          record->payload = stream_.subspan(local + kHeaderSize, length);
          record->offset = offset_;
          offset_ += kHeaderSize + size_t{length};
          return true;
        }
      }
    }
    return NextSlowly(record);
  }

  // For walks that look at records one by one (finding where a substream
  // ends): a record's CONTINUE records need not share its window, which then
  // stays small however long the chain.
  void ReadContinuesApart() { keep_continues_ = false; }

  // The id of the next record, without reading it.
  std::optional<uint16_t> PeekId() const;

  // The payloads of the CONTINUE records that follow, read.
  std::vector<Bytes> TakeContinues();

  bool cut_short() const { return cut_short_; }
  // Why reading the source stopped, when it failed (ok otherwise).
  const Status& read_error() const { return read_error_; }
  size_t offset() const { return offset_; }
  size_t stream_size() const { return stream_size_; }
  void Seek(size_t offset) { offset_ = offset; }

 private:
  // Next for whatever the quick path does not take: the window's end, CONTINUE
  // records, a stream cut short.
  bool NextSlowly(BiffRecord* record);
  // Brings the record at offset_ and its CONTINUE records into the window.
  bool FillWindow();
  bool InWindowWithoutContinue() const;
  bool Covers(size_t offset, size_t count) const {
    return offset >= window_start_ && offset - window_start_ <= stream_.size() &&
           count <= stream_.size() - (offset - window_start_);
  }
  bool Load(size_t from, size_t count);

  static constexpr size_t kHeaderSize = 4;

  Bytes stream_;  // the whole stream, or the window's bytes
  size_t offset_;
  bool cut_short_ = false;
  const ByteSource* source_ = nullptr;
  bool keep_continues_ = true;
  std::vector<uint8_t> window_;
  size_t window_start_ = 0;
  size_t stream_size_ = stream_.size();
  Status read_error_;
};

}  // namespace dravella::engine::xls
