#include "dialogs/text_buffer.h"

#include <cstring>

namespace dravella::dialogs {

std::string UpToFirstNul(const std::string& text) {
  return text.substr(0, text.find('\0'));
}

std::string UpToFirstNul(const char* buffer, std::size_t size) {
  const void* nul = std::memchr(buffer, '\0', size);
  const std::size_t length =
      nul == nullptr ? size : static_cast<std::size_t>(static_cast<const char*>(nul) - buffer);
  return std::string(buffer, length);
}

std::string CutToBytes(const std::string& text, std::size_t max_bytes) {
  if (text.size() <= max_bytes) return text;
  std::size_t end = max_bytes;
  // Step back over continuation bytes (10xxxxxx) to the start of a character.
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end);
}

}  // namespace dravella::dialogs
