// Little-endian output for the test workbook builder: every multi-byte value
// that the builder writes goes through here. (The builder reads nothing; its
// self-checks read with their own helpers in selftest/independent_readers.h.)
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

namespace dravella::testing {

// Writes into (or patches) a caller-owned byte vector.
inline void PutU16(std::vector<uint8_t>& out, size_t offset, uint16_t value) {
  out.at(offset + 1);  // bounds check before writing anything
  out[offset] = static_cast<uint8_t>(value);
  out[offset + 1] = static_cast<uint8_t>(value >> 8);
}

inline void PutU32(std::vector<uint8_t>& out, size_t offset, uint32_t value) {
  out.at(offset + 3);
  for (int i = 0; i < 4; ++i) out[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

inline void PutU64(std::vector<uint8_t>& out, size_t offset, uint64_t value) {
  out.at(offset + 7);
  for (int i = 0; i < 8; ++i) out[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

// Appends little-endian values to a growing payload.
class ByteWriter {
 public:
  ByteWriter() = default;
  explicit ByteWriter(size_t reserve) { bytes_.reserve(reserve); }

  ByteWriter& U8(uint8_t value) {
    bytes_.push_back(value);
    return *this;
  }
  ByteWriter& U16(uint16_t value) {
    bytes_.push_back(static_cast<uint8_t>(value));
    bytes_.push_back(static_cast<uint8_t>(value >> 8));
    return *this;
  }
  ByteWriter& U32(uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<uint8_t>(value >> (8 * i)));
    return *this;
  }
  ByteWriter& U64(uint64_t value) {
    for (int i = 0; i < 8; ++i) bytes_.push_back(static_cast<uint8_t>(value >> (8 * i)));
    return *this;
  }
  ByteWriter& F64(double value) { return U64(std::bit_cast<uint64_t>(value)); }
  ByteWriter& Bytes(std::span<const uint8_t> data) {
    bytes_.insert(bytes_.end(), data.begin(), data.end());
    return *this;
  }
  ByteWriter& Bytes(std::string_view data) {
    bytes_.insert(bytes_.end(), data.begin(), data.end());
    return *this;
  }
  ByteWriter& Zeros(size_t count) {
    bytes_.insert(bytes_.end(), count, 0);
    return *this;
  }
  // UTF-16 code units, two bytes each.
  ByteWriter& Utf16(std::u16string_view text) {
    for (char16_t c : text) U16(static_cast<uint16_t>(c));
    return *this;
  }
  // The low byte of each code unit (the caller has checked they all fit).
  ByteWriter& Latin1(std::u16string_view text) {
    for (char16_t c : text) U8(static_cast<uint8_t>(c));
    return *this;
  }

  size_t size() const { return bytes_.size(); }
  const std::vector<uint8_t>& bytes() const { return bytes_; }
  std::vector<uint8_t>& bytes() { return bytes_; }
  std::vector<uint8_t> Take() { return std::move(bytes_); }

 private:
  std::vector<uint8_t> bytes_;
};

}  // namespace dravella::testing
