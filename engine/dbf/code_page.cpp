#include "engine/dbf/code_page.h"

#include <algorithm>

#include "engine/dbf/code_page_tables.h"
#include "engine/utf8.h"

namespace dravella::engine::dbf {

uint8_t LanguageDriverOf(CodePage page) {
  switch (page) {
    case CodePage::k437: return 0x01;
    case CodePage::k850: return 0x02;
    case CodePage::k1252: return 0x03;
    case CodePage::k852: return 0x64;
    case CodePage::k866: return 0x65;
    case CodePage::k1250: return 0xC8;
    case CodePage::k1251: return 0xC9;
    case CodePage::k1253: return 0xCB;
    case CodePage::k1254: return 0xCA;
    case CodePage::k1257: return 0xCC;
    case CodePage::kUtf8: return 0x00;
  }
  return 0x00;
}

namespace {

// The bytes of one character in the code page: 1 to 4 (UTF-8) or 1.
struct CharacterBytes {
  char bytes[4];
  size_t size;
  bool replaced = false;  // written as '?': the page cannot hold it
};

class CharacterEncoder {
 public:
  explicit CharacterEncoder(CodePage page) : page_(page), upper_(UpperHalfOf(page)) {}

  // The next character of text at pos, advancing pos; ASCII is handled by the caller.
  CharacterBytes Next(std::string_view text, size_t& pos) const {
    const size_t start = pos;
    const char32_t c = NextCharacter(text, pos);
    if (c == kMalformed) return {{'?'}, 1, true};
    if (page_ == CodePage::kUtf8) {
      CharacterBytes out{};
      out.size = pos - start;
      std::copy(text.begin() + start, text.begin() + pos, out.bytes);
      return out;
    }
    if (c < 0x80) return {{static_cast<char>(c)}, 1};
    const auto found = std::lower_bound(
        upper_.begin(), upper_.end(), c,
        [](const CodePointByte& row, char32_t value) { return row.code_point < value; });
    if (found != upper_.end() && found->code_point == c) {
      return {{static_cast<char>(found->byte)}, 1};
    }
    return {{'?'}, 1, true};
  }

 private:
  CodePage page_;
  std::span<const CodePointByte> upper_;
};

}  // namespace

EncodedSize MeasureEncoded(std::string_view utf8, CodePage page, size_t limit) {
  const CharacterEncoder encoder(page);
  EncodedSize size{0, 0};
  bool cut_done = false;
  size_t pos = 0;
  while (pos < utf8.size()) {
    size_t step;
    if (static_cast<unsigned char>(utf8[pos]) < 0x80) {
      ++pos;
      step = 1;
    } else {
      step = encoder.Next(utf8, pos).size;
    }
    size.whole += step;
    if (!cut_done) {
      if (size.whole <= limit) {
        size.cut = size.whole;
      } else {
        cut_done = true;
      }
    }
  }
  return size;
}

size_t EncodeInto(std::string_view utf8, CodePage page, char* out, size_t limit,
                  int64_t* replaced) {
  const CharacterEncoder encoder(page);
  size_t written = 0;
  size_t pos = 0;
  while (pos < utf8.size()) {
    const char lead = utf8[pos];
    if (static_cast<unsigned char>(lead) < 0x80) {
      if (written == limit) break;
      out[written++] = lead;
      ++pos;
      continue;
    }
    const CharacterBytes c = encoder.Next(utf8, pos);
    if (limit - written < c.size) break;
    std::copy(c.bytes, c.bytes + c.size, out + written);
    written += c.size;
    if (c.replaced && replaced != nullptr) ++*replaced;
  }
  return written;
}

void EncodeAppend(std::string_view utf8, CodePage page, std::string& out, int64_t* replaced) {
  const CharacterEncoder encoder(page);
  size_t pos = 0;
  while (pos < utf8.size()) {
    const char lead = utf8[pos];
    if (static_cast<unsigned char>(lead) < 0x80) {
      out.push_back(lead);
      ++pos;
      continue;
    }
    const CharacterBytes c = encoder.Next(utf8, pos);
    out.append(c.bytes, c.size);
    if (c.replaced && replaced != nullptr) ++*replaced;
  }
}

}  // namespace dravella::engine::dbf
