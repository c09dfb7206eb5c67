#include "engine/xls/biff_record_reader.h"

#include <algorithm>
#include <cstring>
#include <span>

#include "engine/xls/biff_record_ids.h"
#include "engine/xls/byte_source.h"

namespace dravella::engine::xls {
namespace {

// Big enough that a window holds hundreds of cell records; a record chain
// longer than this gets a window of its own size.
constexpr size_t kWindowSize = 256 * 1024;

}  // namespace

BiffRecordReader::BiffRecordReader(const ByteSource& source, size_t offset)
    : offset_(offset), source_(&source), stream_size_(static_cast<size_t>(source.size())) {}

bool BiffRecordReader::Load(size_t from, size_t count) {
  const size_t length = std::min(stream_size_ - from, std::max(kWindowSize, count));
  // Bytes the window holds already from `from` on move to its front and are
  // not read again: a record with many CONTINUE records grows the window
  // step by step, and reading it whole each time would cost its size squared.
  size_t kept = 0;
  if (!window_.empty() && from >= window_start_ && from < window_start_ + window_.size()) {
    kept = std::min(window_start_ + window_.size() - from, length);
    std::memmove(window_.data(), window_.data() + (from - window_start_), kept);
  }
  window_.resize(length);
  stream_ = {};
  window_start_ = from;
  if (Status s = source_->ReadAt(from + kept, std::span(window_).subspan(kept)); !s.ok()) {
    read_error_ = std::move(s);
    window_.clear();
    return false;
  }
  stream_ = window_;
  return true;
}

bool BiffRecordReader::InWindowWithoutContinue() const {
  // The common case, checked cheaply: the record and the header after it
  // are in the window, and that header starts no CONTINUE record.
  if (offset_ < window_start_) return false;
  const size_t local = offset_ - window_start_;
  uint16_t length = 0;
  if (!ReadU16(stream_, local + 2, &length)) return false;
  uint16_t next_id = 0;
  return ReadU16(stream_, local + kHeaderSize + length, &next_id) && next_id != record_id::kContinue;
}

bool BiffRecordReader::FillWindow() {
  // Walk the headers of the record and of the CONTINUE records after it;
  // whatever lies past the stream's end is left for Next to find short.
  size_t need = 0;
  while (offset_ + need + kHeaderSize <= stream_size_) {
    const size_t at = offset_ + need;
    // Twice what is known to be needed, so a long chain takes few reads.
    if (!Covers(at, kHeaderSize) && !Load(offset_, 2 * (need + kHeaderSize))) return false;
    uint16_t id = 0;
    uint16_t length = 0;
    ReadU16(stream_, at - window_start_, &id);
    ReadU16(stream_, at - window_start_ + 2, &length);
    if (need > 0 && id != record_id::kContinue) break;
    need += kHeaderSize + length;
    if (!keep_continues_) break;  // the record alone
  }
  need = std::min(need, stream_size_ - offset_);
  if (!Covers(offset_, std::max<size_t>(need, 1)) && !Load(offset_, need)) return false;
  return true;
}

bool BiffRecordReader::NextSlowly(BiffRecord* record) {
  if (offset_ >= stream_size_) return false;
  if (!read_error_.ok()) return false;
  if (source_ && !(keep_continues_ && InWindowWithoutContinue()) && !FillWindow()) return false;
  const size_t local = offset_ - window_start_;
  uint16_t id = 0;
  uint16_t length = 0;
  if (!ReadU16(stream_, local, &id) || !ReadU16(stream_, local + 2, &length) ||
      !HasBytes(stream_, local + 4, length)) {
    cut_short_ = true;
    return false;
  }
  record->id = id;
  record->payload = stream_.subspan(local + 4, length);
  record->offset = offset_;
  offset_ += 4 + size_t{length};
  return true;
}

std::optional<uint16_t> BiffRecordReader::PeekId() const {
  uint16_t id = 0;
  if (offset_ < window_start_ || !ReadU16(stream_, offset_ - window_start_, &id)) return std::nullopt;
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
