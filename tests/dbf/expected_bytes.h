// Expected file contents spelled out byte by byte, independently of the
// writer's own code.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dravella::engine::testing {

class ExpectedBytes {
 public:
  ExpectedBytes& Byte(int value) {
    bytes_.push_back(static_cast<char>(value));
    return *this;
  }
  ExpectedBytes& U16(uint32_t value) { return Byte(value & 0xFF).Byte(value >> 8 & 0xFF); }
  ExpectedBytes& U32(uint32_t value) { return U16(value & 0xFFFF).U16(value >> 16); }
  ExpectedBytes& Text(std::string_view text) {
    bytes_.append(text);
    return *this;
  }
  ExpectedBytes& Zeros(size_t count) {
    bytes_.append(count, '\0');
    return *this;
  }
  ExpectedBytes& Repeat(char c, size_t count) {
    bytes_.append(count, c);
    return *this;
  }
  // A field name in its 11 bytes, 0x00-padded.
  ExpectedBytes& Name(std::string_view name) { return Text(name).Zeros(11 - name.size()); }
  // 0x00 up to the next multiple of size.
  ExpectedBytes& PadTo(size_t size) { return Zeros((size - bytes_.size() % size) % size); }

  // A dBASE III/IV field descriptor.
  ExpectedBytes& Descriptor(std::string_view name, char type, int width, int decimals = 0) {
    return Name(name).Byte(type).Zeros(4).Byte(width).Byte(decimals).Zeros(14);
  }
  // A dBASE II field slot; offset is the field's place in the record.
  ExpectedBytes& Slot(std::string_view name, char type, int width, int offset, int decimals = 0) {
    return Name(name).Byte(type).Byte(width).U16(offset).Byte(decimals);
  }

  size_t size() const { return bytes_.size(); }
  const std::string& str() const { return bytes_; }

 private:
  std::string bytes_;
};

}  // namespace dravella::engine::testing
