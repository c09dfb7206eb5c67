// ASCII runs found eight bytes at a time: most texts are ASCII, and an ASCII
// byte is the same in UTF-8, Latin-1 and every code page the engine writes.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace dravella::engine {

// Copies text's leading ASCII bytes to out, at most limit of them, and
// returns how many it copied: it stops before the first byte above 0x7F.
inline size_t CopyAsciiPrefix(std::string_view text, char* out, size_t limit) {
  const size_t room = text.size() < limit ? text.size() : limit;
  size_t i = 0;
  for (; room - i >= 8; i += 8) {
    uint64_t word;
    std::memcpy(&word, text.data() + i, sizeof word);
    if ((word & 0x8080808080808080u) != 0) break;
    std::memcpy(out + i, &word, sizeof word);
  }
  for (; i < room && static_cast<unsigned char>(text[i]) < 0x80; ++i) out[i] = text[i];
  return i;
}

// The length of text's leading ASCII run.
inline size_t AsciiPrefix(std::string_view text) {
  size_t i = 0;
  for (; text.size() - i >= 8; i += 8) {
    uint64_t word;
    std::memcpy(&word, text.data() + i, sizeof word);
    if ((word & 0x8080808080808080u) != 0) break;
  }
  while (i < text.size() && static_cast<unsigned char>(text[i]) < 0x80) ++i;
  return i;
}

}  // namespace dravella::engine
