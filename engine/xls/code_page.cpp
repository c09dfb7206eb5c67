#include "engine/xls/code_page.h"

#include "engine/code_page_tables.h"
#include "engine/utf8.h"

namespace dravella::engine::xls {
namespace {

// Lead bytes of the double-byte pages: each starts a two-byte character.
bool ShiftJisLead(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool EastAsianLead(uint8_t b) { return b >= 0x81 && b <= 0xFE; }
bool JohabLead(uint8_t b) { return (b >= 0x84 && b <= 0xD3) || (b >= 0xD8 && b <= 0xDE) || (b >= 0xE0 && b <= 0xF9); }

}  // namespace

CodePage::CodePage() : upper_(UpperHalfOfCodePage(1252)) {}

CodePage CodePage::FromRecordValue(uint16_t value) {
  CodePage page;
  switch (value) {
    case 367:    // US-ASCII: its bytes above 0x7F are best read as Windows 1252
    case 1200:   // UTF-16 belongs to BIFF8 and is not a byte code page
    case 32769:  // "Windows ANSI" of BIFF2 to BIFF4
      return page;
    case 32768:  // "Apple Roman"
      value = 10000;
      break;
    case 932:
      page.is_lead_byte_ = ShiftJisLead;
      break;
    case 936:
    case 949:
    case 950:
      page.is_lead_byte_ = EastAsianLead;
      break;
    case 1361:
      page.is_lead_byte_ = JohabLead;
      break;
    default:
      break;
  }
  if (page.is_lead_byte_) {
    page.number_ = value;
    page.upper_ = nullptr;
    return page;
  }
  if (const char16_t* table = UpperHalfOfCodePage(value)) {
    page.number_ = value;
    page.upper_ = table;
  }
  return page;
}

void CodePage::AppendUtf8(Bytes bytes, std::string* out) const {
  for (size_t i = 0; i < bytes.size(); ++i) {
    const uint8_t b = bytes[i];
    if (b < 0x80) {
      out->push_back(static_cast<char>(b));
    } else if (upper_) {
      engine::AppendUtf8(upper_[b - 0x80], out);
    } else if (number_ == 932 && b >= 0xA1 && b <= 0xDF) {
      engine::AppendUtf8(0xFF61 + (b - 0xA1), out);  // half-width katakana are single bytes
    } else {
      // A double-byte character the reader has no table for.
      if (is_lead_byte_ && is_lead_byte_(b) && i + 1 < bytes.size()) ++i;
      out->push_back('?');
    }
  }
}

}  // namespace dravella::engine::xls
