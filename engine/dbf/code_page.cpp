#include "engine/dbf/code_page.h"

#include <algorithm>

#include "engine/code_pages.h"
#include "engine/text_codec.h"

namespace dravella::engine::dbf {
namespace {

const CodePageFacts& FactsOf(CodePage page) {
  // Every value of CodePage has its row (a test walks them).
  return *CodePageFactsOf(static_cast<uint16_t>(page));
}

// The length of the ASCII run that starts at pos: those bytes are written as
// they are.
size_t AsciiRun(std::string_view text, size_t pos) { return AsciiPrefix(text.substr(pos)); }

}  // namespace

uint8_t LanguageDriverOf(CodePage page) { return FactsOf(page).language_driver; }

std::string_view CpgTextOf(CodePage page) { return FactsOf(page).cpg_text; }

EncodedSize MeasureEncoded(std::string_view utf8, CodePage page, size_t limit) {
  const size_t ascii = AsciiRun(utf8, 0);
  if (ascii == utf8.size()) return {ascii, std::min(ascii, limit)};
  return MeasureEncoded(utf8, CharacterEncoder(static_cast<uint16_t>(page)), limit);
}

EncodedSize MeasureEncoded(std::string_view utf8, const CharacterEncoder& encoder, size_t limit) {
  EncodedSize size{0, 0};
  const size_t ascii = AsciiRun(utf8, 0);
  if (ascii == utf8.size()) return {ascii, std::min(ascii, limit)};
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

size_t EncodeInto(std::string_view utf8, CodePage page, char* out, size_t limit, size_t* replaced) {
  const size_t ascii = AsciiRun(utf8, 0);
  if (ascii == utf8.size()) {
    const size_t n = std::min(ascii, limit);
    std::copy_n(utf8.data(), n, out);
    return n;
  }
  return EncodeInto(utf8, CharacterEncoder(static_cast<uint16_t>(page)), out, limit, replaced);
}

size_t EncodeInto(std::string_view utf8, const CharacterEncoder& encoder, char* out, size_t limit,
                  size_t* replaced) {
  // The ASCII lead, copied while it is checked.
  const size_t room = std::min(utf8.size(), limit);
  size_t pos = CopyAsciiPrefix(utf8, out, limit);
  if (pos == room) return pos;  // all of it, or as much as fits
  size_t written = pos;
  while (pos < utf8.size()) {
    const char lead = utf8[pos];
    if (static_cast<unsigned char>(lead) < 0x80) {
      if (written == limit) break;
      out[written++] = lead;
      ++pos;
      continue;
    }
    const EncodedCharacter c = encoder.Next(utf8, pos);
    if (limit - written < c.size) break;
    std::copy(c.bytes, c.bytes + c.size, out + written);
    written += c.size;
    if (c.replaced && replaced) ++*replaced;
  }
  return written;
}

void EncodeAppend(std::string_view utf8, CodePage page, std::string& out, size_t* replaced) {
  const size_t ascii = AsciiRun(utf8, 0);
  if (ascii == utf8.size()) {
    out.append(utf8);
    return;
  }
  const CharacterEncoder encoder(static_cast<uint16_t>(page));
  size_t pos = 0;
  while (pos < utf8.size()) {
    const size_t run = AsciiRun(utf8, pos);
    out.append(utf8.substr(pos, run));
    pos += run;
    if (pos == utf8.size()) break;
    const EncodedCharacter c = encoder.Next(utf8, pos);
    out.append(c.bytes, c.size);
    if (c.replaced && replaced) ++*replaced;
  }
}

}  // namespace dravella::engine::dbf
