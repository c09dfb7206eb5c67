#include "engine/xls/biff_string_reader.h"

#include <algorithm>

#include "engine/utf8.h"

namespace dravella::engine::xls {
namespace {

constexpr uint8_t kWideCharacters = 0x01;
constexpr uint8_t kPhonetic = 0x04;
constexpr uint8_t kRichText = 0x08;

}  // namespace

BiffStringReader::BiffStringReader(Bytes first, size_t offset, std::span<const Bytes> continuations)
    : segment_(first), offset_(std::min(offset, first.size())), rest_(continuations) {}

bool BiffStringReader::NextSegment() {
  if (rest_.empty()) return false;
  segment_ = rest_.front();
  rest_ = rest_.subspan(1);
  offset_ = 0;
  return true;
}

bool BiffStringReader::AtEnd() {
  while (offset_ >= segment_.size()) {
    if (!NextSegment()) return true;
  }
  return false;
}

bool BiffStringReader::U8(uint8_t* out) {
  while (offset_ >= segment_.size()) {
    if (!NextSegment()) return false;
  }
  *out = segment_[offset_++];
  return true;
}

bool BiffStringReader::U16(uint16_t* out) {
  uint8_t low = 0;
  uint8_t high = 0;
  if (!U8(&low) || !U8(&high)) return false;
  *out = static_cast<uint16_t>(low | (high << 8));
  return true;
}

bool BiffStringReader::U32(uint32_t* out) {
  uint16_t low = 0;
  uint16_t high = 0;
  if (!U16(&low) || !U16(&high)) return false;
  *out = low | (static_cast<uint32_t>(high) << 16);
  return true;
}

bool BiffStringReader::Skip(size_t count) {
  while (count > 0) {
    while (offset_ >= segment_.size()) {
      if (!NextSegment()) return false;
    }
    const size_t step = std::min(count, segment_.size() - offset_);
    offset_ += step;
    count -= step;
  }
  return true;
}

bool BiffStringReader::ReadLength(size_t length_size, uint16_t* out) {
  if (length_size == 1) {
    uint8_t length = 0;
    if (!U8(&length)) return false;
    *out = length;
    return true;
  }
  return U16(out);
}

bool BiffStringReader::ReadCharacters(size_t count, bool wide, std::string* out) {
  // Nearly always the text is 8-bit and lies in this record: no copy first.
  if (!wide && count <= segment_.size() - std::min(offset_, segment_.size()) && count > 0) {
    AppendLatin1AsUtf8({reinterpret_cast<const char*>(segment_.data() + offset_), count}, out);
    offset_ += count;
    return true;
  }
  scratch_.clear();
  bool complete = true;
  while (count > 0) {
    if (offset_ >= segment_.size()) {
      // The characters go on in the next record, behind a new options byte.
      if (!NextSegment()) {
        complete = false;
        break;
      }
      if (segment_.empty()) continue;
      wide = (segment_[offset_++] & kWideCharacters) != 0;
    }
    const size_t available = segment_.size() - offset_;
    if (wide) {
      const size_t n = std::min(count, available / 2);
      if (n == 0) {  // half a character before the boundary: nothing to keep
        offset_ = segment_.size();
        continue;
      }
      for (size_t i = 0; i < n; ++i) {
        const size_t at = offset_ + 2 * i;
        scratch_.push_back(static_cast<char16_t>(segment_[at] | (segment_[at + 1] << 8)));
      }
      offset_ += 2 * n;
      count -= n;
    } else {
      const size_t n = std::min(count, available);
      for (size_t i = 0; i < n; ++i) scratch_.push_back(segment_[offset_ + i]);  // Latin-1
      offset_ += n;
      count -= n;
    }
  }
  AppendUtf16AsUtf8(scratch_, out);
  return complete;
}

bool BiffStringReader::ReadUnicodeString(size_t length_size, std::string* out) {
  // The usual string: a 2-byte length, a plain options byte and 8-bit
  // characters, all in this record.
  if (length_size == 2 && segment_.size() - std::min(offset_, segment_.size()) >= 3) {
    const uint8_t* p = segment_.data() + offset_;
    const size_t length = LoadU16(p);
    if (p[2] == 0 && segment_.size() - offset_ - 3 >= length) {
      if (length > 0) AppendLatin1AsUtf8({reinterpret_cast<const char*>(p + 3), length}, out);
      offset_ += 3 + length;
      return true;
    }
  }
  uint16_t length = 0;
  if (!ReadLength(length_size, &length)) return false;
  uint8_t options = 0;
  if (!U8(&options)) return length == 0;  // some writers leave out the options of an empty string
  uint16_t runs = 0;
  uint32_t phonetic_size = 0;
  if ((options & kRichText) && !U16(&runs)) return false;
  if ((options & kPhonetic) && !U32(&phonetic_size)) return false;
  if (!ReadCharacters(length, (options & kWideCharacters) != 0, out)) return false;
  // Formatting runs and phonetic text carry nothing the cell's value needs.
  return Skip(size_t{runs} * 4) && Skip(phonetic_size);
}

bool BiffStringReader::ReadByteString(size_t length_size, const CodePage& page, std::string* out) {
  uint16_t length = 0;
  if (!ReadLength(length_size, &length)) return false;
  // A text may go on in the next record between the two bytes of a
  // character: gather its bytes first, then decode them together.
  bytes_.clear();
  size_t count = length;
  bool complete = true;
  while (count > 0) {
    if (offset_ >= segment_.size() && !NextSegment()) {
      complete = false;
      break;
    }
    const size_t n = std::min(count, segment_.size() - offset_);
    bytes_.insert(bytes_.end(), segment_.begin() + static_cast<std::ptrdiff_t>(offset_),
                  segment_.begin() + static_cast<std::ptrdiff_t>(offset_ + n));
    offset_ += n;
    count -= n;
  }
  page.AppendUtf8(bytes_, out);
  return complete;
}

}  // namespace dravella::engine::xls
