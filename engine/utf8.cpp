#include "engine/utf8.h"

#include <cstdint>
#include <cstring>

#include "engine/ascii.h"

namespace dravella::engine {

char32_t NextCharacter(std::string_view text, size_t& pos) {
  const auto lead = static_cast<uint8_t>(text[pos]);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  size_t length;
  char32_t value;
  char32_t smallest;  // below it the form is overlong
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, value = lead & 0x1F, smallest = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, value = lead & 0x0F, smallest = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, value = lead & 0x07, smallest = 0x10000;
  } else {
    ++pos;
    return kMalformed;
  }
  if (text.size() - pos < length) {
    ++pos;
    return kMalformed;
  }
  for (size_t i = 1; i < length; ++i) {
    const auto next = static_cast<uint8_t>(text[pos + i]);
    if ((next & 0xC0) != 0x80) {
      ++pos;
      return kMalformed;
    }
    value = (value << 6) | (next & 0x3F);
  }
  if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    ++pos;
    return kMalformed;
  }
  pos += length;
  return value;
}

void AppendUtf8(char32_t c, std::string* out) {
  if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
  if (c < 0x80) {
    out->push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (c >> 6)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (c >> 12)));
    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (c >> 18)));
    out->push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

namespace {

// Writes one code point (already checked to be a Unicode scalar value) at p.
char* PutUtf8(char32_t c, char* p) {
  if (c < 0x80) {
    *p++ = static_cast<char>(c);
  } else if (c < 0x800) {
    *p++ = static_cast<char>(0xC0 | (c >> 6));
    *p++ = static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    *p++ = static_cast<char>(0xE0 | (c >> 12));
    *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *p++ = static_cast<char>(0x80 | (c & 0x3F));
  } else {
    *p++ = static_cast<char>(0xF0 | (c >> 18));
    *p++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *p++ = static_cast<char>(0x80 | (c & 0x3F));
  }
  return p;
}

}  // namespace

void AppendUtf16AsUtf8(std::u16string_view text, std::string* out) {
  // Room for the longest outcome (3 bytes a unit; a pair takes 4 for 2),
  // written in place and trimmed once.
  const size_t start = out->size();
  out->resize(start + 3 * text.size());
  char* const begin = out->data() + start;
  char* p = begin;
  for (size_t i = 0; i < text.size(); ++i) {
    const char32_t unit = text[i];
    if (unit < 0x80) {
      *p++ = static_cast<char>(unit);
    } else if (unit < 0xD800 || unit > 0xDFFF) {
      p = PutUtf8(unit, p);
    } else if (unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      p = PutUtf8(0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00), p);
      ++i;
    } else {
      p = PutUtf8(0xFFFD, p);  // a surrogate without its partner
    }
  }
  out->resize(start + static_cast<size_t>(p - begin));
}

void AppendLatin1AsUtf8(std::string_view text, std::string* out) {
  const size_t start = out->size();
  out->resize(start + 2 * text.size());
  char* const begin = out->data() + start;
  char* p = begin;
  // The ASCII lead as it is, the rest byte by byte.
  const size_t i = CopyAsciiPrefix(text, p, text.size());
  p += i;
  for (const char byte : text.substr(i)) {
    const auto c = static_cast<uint8_t>(byte);
    if (c < 0x80) {
      *p++ = static_cast<char>(c);
    } else {
      *p++ = static_cast<char>(0xC0 | (c >> 6));
      *p++ = static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  out->resize(start + static_cast<size_t>(p - begin));
}

}  // namespace dravella::engine
