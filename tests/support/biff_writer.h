// Writes BIFF records: a 2-byte id, a 2-byte payload length, the payload.
//
// A payload longer than the version's limit (8224 bytes in BIFF8, 2080
// before) goes on in CONTINUE records. Append() cuts blindly at the limit,
// which is right for opaque payloads; ContinuedRecord cuts where the format
// allows for records whose CONTINUE parts carry structure (SST strings,
// STRING texts).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace dravella::testing {

inline constexpr size_t kBiff8MaxRecordPayload = 8224;
inline constexpr size_t kBiff5MaxRecordPayload = 2080;  // also BIFF2 to BIFF4

class BiffWriter {
 public:
  explicit BiffWriter(size_t max_payload = kBiff8MaxRecordPayload);

  // One record; a payload over the limit continues in CONTINUE records.
  BiffWriter& Append(uint16_t id, std::span<const uint8_t> payload);
  // Exactly one record whatever its length (up to 65535), to make records
  // that break the limit on purpose.
  BiffWriter& AppendUnsplit(uint16_t id, std::span<const uint8_t> payload);
  // One record cut at the given payload offsets (ascending): the first part
  // under `id`, every further part as a CONTINUE record.
  BiffWriter& AppendSplitAt(uint16_t id, std::span<const uint8_t> payload,
                            std::span<const size_t> cuts);
  // Bytes as they are: a half record, garbage after EOF, another stream.
  BiffWriter& AppendRaw(std::span<const uint8_t> bytes);

  size_t max_payload() const { return max_payload_; }
  size_t size() const { return bytes_.size(); }
  const std::vector<uint8_t>& bytes() const { return bytes_; }
  std::vector<uint8_t>& bytes() { return bytes_; }
  std::vector<uint8_t> Take();

 private:
  void Header(uint16_t id, size_t length);

  size_t max_payload_;
  std::vector<uint8_t> bytes_;
};

// A record whose payload may spill into CONTINUE records only at places the
// format allows. Built part by part, then written out with WriteTo().
class ContinuedRecord {
 public:
  // Where a byte of the payload landed: which part (0 = the record itself,
  // then its CONTINUE records) and the offset in that part's payload.
  struct Position {
    size_t part = 0;
    size_t offset = 0;
  };

  ContinuedRecord(uint16_t id, size_t max_payload);

  // Bytes left in the current part.
  size_t room() const { return max_payload_ - parts_.back().size(); }
  // Starts a new CONTINUE part unless `bytes` more fit in the current one.
  void Reserve(size_t bytes);
  // Bytes that must stay together (a string header, a formatting run).
  void Atomic(std::span<const uint8_t> bytes);
  // Bytes that may be cut anywhere (opaque data such as phonetic blocks).
  void Splittable(std::span<const uint8_t> bytes);
  // A BIFF8 string's characters: cut only between characters; every CONTINUE
  // part they go on in starts with the option byte (0 = one byte per
  // character, 1 = two). `wide` is how the string began. With `recompress`,
  // a continued part whose characters all fit in one byte is written
  // compressed, as Excel may do.
  void Characters(std::u16string_view text, bool wide, bool recompress = false);

  Position position() const { return {parts_.size() - 1, parts_.back().size()}; }
  size_t part_count() const { return parts_.size(); }

  // Appends the record and its CONTINUE records; returns the stream offset
  // of each part's 4-byte header.
  std::vector<size_t> WriteTo(BiffWriter& writer) const;

 private:
  uint16_t id_;
  size_t max_payload_;
  std::vector<std::vector<uint8_t>> parts_;
};

}  // namespace dravella::testing
