#include "engine/text_codec.h"

#include <memory>
#include <mutex>
#include <vector>

#include "engine/code_pages.h"
#include "engine/utf8.h"

namespace dravella::engine {

ByteDecoder::ByteDecoder(const CodePageTable* table) : table_(table) {
  if (table_ == nullptr || table_->rows == nullptr) return;
  const char16_t* row = table_->rows;
  for (size_t i = 0; i < 128; ++i) {
    if (table_->upper[i] == kLeadByte) {
      rows_[i] = row;
      row += kTrailBytes;
    }
  }
}

void ByteDecoder::AppendUtf8(std::span<const uint8_t> bytes, std::string* out) const {
  size_t i = 0;
  while (i < bytes.size()) {
    // Most texts are ASCII: copy a run of it at once.
    size_t ascii_end = i;
    while (ascii_end < bytes.size() && bytes[ascii_end] < 0x80) ++ascii_end;
    out->append(reinterpret_cast<const char*>(bytes.data() + i), ascii_end - i);
    i = ascii_end;
    if (i == bytes.size()) break;

    const uint8_t b = bytes[i++];
    if (table_ == nullptr) {
      out->push_back('?');
      continue;
    }
    const char16_t c = table_->upper[b - 0x80];
    if (c != kLeadByte) {
      engine::AppendUtf8(c, out);
      continue;
    }
    if (i < bytes.size() && bytes[i] >= kFirstTrailByte && bytes[i] <= kLastTrailByte) {
      engine::AppendUtf8(rows_[b - 0x80][bytes[i] - kFirstTrailByte], out);
      ++i;
    } else {
      engine::AppendUtf8(kUndefinedByte, out);  // a lead byte cut off from its trail byte
    }
  }
}

namespace {

// Character -> code for the Basic Multilingual Plane, in blocks of 256
// characters allocated where the page has any.
class EncodeMap {
 public:
  explicit EncodeMap(const CodePageTable& table) {
    // The first byte sequence of a character wins; single bytes come first.
    for (size_t i = 0; i < 128; ++i) {
      const char16_t c = table.upper[i];
      if (c != kLeadByte && c != kUndefinedByte) AddIfFree(c, static_cast<uint16_t>(0x80 + i));
    }
    const char16_t* row = table.rows;
    for (size_t i = 0; row != nullptr && i < 128; ++i) {
      if (table.upper[i] != kLeadByte) continue;
      for (size_t t = 0; t < kTrailBytes; ++t) {
        if (row[t] != kUndefinedByte) {
          AddIfFree(row[t], static_cast<uint16_t>(((0x80 + i) << 8) | (kFirstTrailByte + t)));
        }
      }
      row += kTrailBytes;
    }
    for (const EncodingException& e : table.exceptions) Set(e.code_point, e.code);
  }

  uint16_t Find(char32_t c) const {
    if (c >= 0x10000) return 0;
    const std::unique_ptr<uint16_t[]>& block = blocks_[c >> 8];
    return block ? block[c & 0xFF] : 0;
  }

 private:
  void AddIfFree(char16_t c, uint16_t code) {
    if (Find(c) == 0) Set(c, code);
  }

  void Set(char16_t c, uint16_t code) {
    std::unique_ptr<uint16_t[]>& block = blocks_[c >> 8];
    if (!block) block = std::make_unique<uint16_t[]>(256);  // zeroed: nothing yet
    block[c & 0xFF] = code;
  }

  std::array<std::unique_ptr<uint16_t[]>, 256> blocks_;
};

// Each page's map, built on first use.
const EncodeMap* EncodeMapOf(const CodePageTable* table) {
  if (table == nullptr) return nullptr;
  static const std::span<const CodePageTable> tables = CodePageTables();
  static std::vector<std::unique_ptr<EncodeMap>> maps(tables.size());
  static std::vector<std::once_flag> built(tables.size());
  const size_t index = static_cast<size_t>(table - tables.data());
  std::call_once(built[index], [&] { maps[index] = std::make_unique<EncodeMap>(*table); });
  return maps[index].get();
}

}  // namespace

CharacterEncoder::CharacterEncoder(uint16_t number)
    : utf8_(number == kUtf8CodePage), map_(utf8_ ? nullptr : EncodeMapOf(CodePageTableOf(number))) {}

uint16_t CharacterEncoder::CodeOf(char32_t c) const {
  if (c < 0x80) return static_cast<uint16_t>(c);
  return map_ ? static_cast<const EncodeMap*>(map_)->Find(c) : 0;
}

EncodedCharacter CharacterEncoder::Next(std::string_view text, size_t& pos) const {
  const size_t start = pos;
  const char32_t c = NextCharacter(text, pos);
  if (c == kMalformed) return {{'?'}, 1, true};
  if (c < 0x80) return {{static_cast<char>(c)}, 1, false};
  if (utf8_) {
    EncodedCharacter out{{}, static_cast<uint8_t>(pos - start), false};
    std::copy(text.begin() + static_cast<std::ptrdiff_t>(start),
              text.begin() + static_cast<std::ptrdiff_t>(pos), out.bytes);
    return out;
  }
  const uint16_t code = CodeOf(c);
  if (code == 0) return {{'?'}, 1, true};
  if (code < 0x100) return {{static_cast<char>(code)}, 1, false};
  return {{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)}, 2, false};
}

}  // namespace dravella::engine
