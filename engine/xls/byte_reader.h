// Little-endian reads from a byte span: the one place where the reader turns
// bytes into numbers.
//
// Every read checks the length first and returns false when the bytes run out,
// so a decoder can never read past its record, sector or stream.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace dravella::engine::xls {

using Bytes = std::span<const uint8_t>;

inline bool HasBytes(Bytes data, size_t offset, size_t count) {
  return offset <= data.size() && count <= data.size() - offset;
}

// Unchecked little-endian loads, for callers that checked the length first.
inline uint16_t LoadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
inline uint32_t LoadU32(const uint8_t* p) { return LoadU16(p) | static_cast<uint32_t>(LoadU16(p + 2)) << 16; }

inline bool ReadU8(Bytes data, size_t offset, uint8_t* out) {
  if (!HasBytes(data, offset, 1)) return false;
  *out = data[offset];
  return true;
}

inline bool ReadU16(Bytes data, size_t offset, uint16_t* out) {
  if (!HasBytes(data, offset, 2)) return false;
  *out = static_cast<uint16_t>(data[offset] | (data[offset + 1] << 8));
  return true;
}

inline bool ReadU32(Bytes data, size_t offset, uint32_t* out) {
  if (!HasBytes(data, offset, 4)) return false;
  *out = static_cast<uint32_t>(data[offset]) | (static_cast<uint32_t>(data[offset + 1]) << 8) |
         (static_cast<uint32_t>(data[offset + 2]) << 16) |
         (static_cast<uint32_t>(data[offset + 3]) << 24);
  return true;
}

inline bool ReadU64(Bytes data, size_t offset, uint64_t* out) {
  uint32_t low = 0;
  uint32_t high = 0;
  if (!ReadU32(data, offset, &low) || !ReadU32(data, offset + 4, &high)) return false;
  *out = (static_cast<uint64_t>(high) << 32) | low;
  return true;
}

// An IEEE 754 double stored little-endian.
inline bool ReadF64(Bytes data, size_t offset, double* out) {
  uint64_t bits = 0;
  if (!ReadU64(data, offset, &bits)) return false;
  *out = std::bit_cast<double>(bits);
  return true;
}

// Reads fields one after another; once a read fails every later read fails
// too, so a decoder may read a whole layout and check ok() once.
class ByteCursor {
 public:
  explicit ByteCursor(Bytes data, size_t offset = 0) : data_(data), offset_(offset) {}

  bool ok() const { return ok_; }
  size_t offset() const { return offset_; }
  size_t remaining() const { return offset_ <= data_.size() ? data_.size() - offset_ : 0; }
  Bytes data() const { return data_; }

  uint8_t U8() { return Take<uint8_t>(1, ReadU8); }
  uint16_t U16() { return Take<uint16_t>(2, ReadU16); }
  uint32_t U32() { return Take<uint32_t>(4, ReadU32); }
  double F64() { return Take<double>(8, ReadF64); }

  // The next count bytes; an empty span (and a failed cursor) when short.
  Bytes Span(size_t count) {
    if (!ok_ || !HasBytes(data_, offset_, count)) {
      ok_ = false;
      return {};
    }
    Bytes part = data_.subspan(offset_, count);
    offset_ += count;
    return part;
  }

  void Skip(size_t count) { Span(count); }

 private:
  template <typename T>
  T Take(size_t size, bool (*read)(Bytes, size_t, T*)) {
    T value{};
    if (!ok_ || !read(data_, offset_, &value)) {
      ok_ = false;
      return T{};
    }
    offset_ += size;
    return value;
  }

  Bytes data_;
  size_t offset_;
  bool ok_ = true;
};

}  // namespace dravella::engine::xls
