#include "engine/xls/code_page.h"

#include "engine/code_page_tables.h"
#include "engine/utf8.h"

namespace dravella::engine::xls {
namespace {

constexpr uint16_t kUtf16 = 1200;

// The page a CODEPAGE value stands for.
uint16_t PageOfRecordValue(uint16_t value) {
  switch (value) {
    case 367:    // US-ASCII: its bytes above 0x7F are best read as Windows 1252
    case 32769:  // "Windows ANSI" of BIFF2 to BIFF4
      return 1252;
    case 32768:  // "Apple Roman"
      return 10000;
    default:
      return value;
  }
}

}  // namespace

CodePage::CodePage() : decoder_(CodePageTableOf(1252)) {}

CodePage CodePage::FromRecordValue(uint16_t value) {
  CodePage page;
  const uint16_t number = PageOfRecordValue(value);
  if (number == kUtf16) {
    page.number_ = kUtf16;
    return page;
  }
  const CodePageTable* table = CodePageTableOf(number);
  page.number_ = table ? number : 0;
  page.decoder_ = ByteDecoder(table);
  return page;
}

void CodePage::AppendUtf8(Bytes bytes, std::string* out) const {
  if (number_ == kUtf16) {
    // Byte strings of a UTF-16 workbook hold little-endian code units; an
    // odd last byte is half a character.
    std::u16string units;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
      units.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
    }
    AppendUtf16AsUtf8(units, out);
    if (bytes.size() % 2 != 0) engine::AppendUtf8(0xFFFD, out);
    return;
  }
  decoder_.AppendUtf8(bytes, out);
}

}  // namespace dravella::engine::xls
