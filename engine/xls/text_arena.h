// Texts stored end to end in one buffer and addressed by offset and length,
// so a worksheet's thousands of texts cost one allocation, not thousands.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dravella::engine::xls {

struct TextRef {
  uint32_t offset = 0;
  uint32_t length = 0;
};

class TextArena {
 public:
  // Decoders append a text here; Since() then names what they appended.
  std::string* buffer() { return &bytes_; }
  size_t size() const { return bytes_.size(); }
  TextRef Since(size_t start) const {
    return {static_cast<uint32_t>(start), static_cast<uint32_t>(bytes_.size() - start)};
  }
  std::string_view bytes() const { return bytes_; }
  std::string_view View(TextRef ref) const { return std::string_view(bytes_).substr(ref.offset, ref.length); }

 private:
  std::string bytes_;
};

}  // namespace dravella::engine::xls
