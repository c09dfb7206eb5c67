#include "tests/support/biff_writer.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "tests/support/biff_record_ids.h"
#include "tests/support/byte_writer.h"
#include "tests/support/text_encoding.h"

namespace dravella::testing {

BiffWriter::BiffWriter(size_t max_payload) : max_payload_(max_payload) {
  if (max_payload == 0 || max_payload > 0xFFFF) throw std::invalid_argument("bad record size limit");
}

void BiffWriter::Header(uint16_t id, size_t length) {
  if (length > 0xFFFF) throw std::invalid_argument("a record holds at most 65535 bytes");
  ByteWriter header;
  header.U16(id).U16(static_cast<uint16_t>(length));
  bytes_.insert(bytes_.end(), header.bytes().begin(), header.bytes().end());
}

BiffWriter& BiffWriter::Append(uint16_t id, std::span<const uint8_t> payload) {
  std::vector<size_t> cuts;
  for (size_t cut = max_payload_; cut < payload.size(); cut += max_payload_) cuts.push_back(cut);
  return AppendSplitAt(id, payload, cuts);
}

BiffWriter& BiffWriter::AppendUnsplit(uint16_t id, std::span<const uint8_t> payload) {
  Header(id, payload.size());
  bytes_.insert(bytes_.end(), payload.begin(), payload.end());
  return *this;
}

BiffWriter& BiffWriter::AppendSplitAt(uint16_t id, std::span<const uint8_t> payload,
                                      std::span<const size_t> cuts) {
  size_t from = 0;
  uint16_t part_id = id;
  for (size_t i = 0; i <= cuts.size(); ++i) {
    const size_t to = i < cuts.size() ? cuts[i] : payload.size();
    if (to < from || to > payload.size()) throw std::invalid_argument("cuts must ascend within the payload");
    AppendUnsplit(part_id, payload.subspan(from, to - from));
    part_id = record::kContinue;
    from = to;
  }
  return *this;
}

BiffWriter& BiffWriter::AppendRaw(std::span<const uint8_t> bytes) {
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  return *this;
}

std::vector<uint8_t> BiffWriter::Take() { return std::move(bytes_); }

ContinuedRecord::ContinuedRecord(uint16_t id, size_t max_payload)
    : id_(id), max_payload_(max_payload), parts_(1) {
  if (max_payload < 16) throw std::invalid_argument("record size limit too small to continue in");
}

void ContinuedRecord::Reserve(size_t bytes) {
  if (bytes > max_payload_) throw std::invalid_argument("cannot keep more than one record's payload together");
  if (bytes > room()) parts_.emplace_back();
}

void ContinuedRecord::Atomic(std::span<const uint8_t> bytes) {
  Reserve(bytes.size());
  parts_.back().insert(parts_.back().end(), bytes.begin(), bytes.end());
}

void ContinuedRecord::Splittable(std::span<const uint8_t> bytes) {
  while (!bytes.empty()) {
    if (room() == 0) parts_.emplace_back();
    const size_t count = std::min(room(), bytes.size());
    parts_.back().insert(parts_.back().end(), bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(count));
    bytes = bytes.subspan(count);
  }
}

void ContinuedRecord::Characters(std::u16string_view text, bool wide, bool recompress) {
  if (!wide && !FitsInLatin1(text)) throw std::invalid_argument("a compressed string holds only U+0000-U+00FF");
  bool part_wide = wide;
  while (!text.empty()) {
    const size_t unit = part_wide ? 2 : 1;
    size_t count = std::min(room() / unit, text.size());
    if (count == 0) {
      // The string goes on in a new part, which restates its width first.
      parts_.emplace_back();
      part_wide = recompress ? !FitsInLatin1(text) : wide;
      parts_.back().push_back(part_wide ? 1 : 0);
      continue;
    }
    ByteWriter chars(count * unit);
    if (part_wide) {
      chars.Utf16(text.substr(0, count));
    } else {
      chars.Latin1(text.substr(0, count));
    }
    parts_.back().insert(parts_.back().end(), chars.bytes().begin(), chars.bytes().end());
    text.remove_prefix(count);
  }
}

std::vector<size_t> ContinuedRecord::WriteTo(BiffWriter& writer) const {
  std::vector<size_t> offsets;
  for (size_t i = 0; i < parts_.size(); ++i) {
    offsets.push_back(writer.size());
    writer.AppendUnsplit(i == 0 ? id_ : record::kContinue, parts_[i]);
  }
  return offsets;
}

}  // namespace dravella::testing
