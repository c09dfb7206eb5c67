#include "engine/dbf/table_header.h"

#include <algorithm>

#include "engine/dbf/code_page.h"
#include "engine/dbf/little_endian.h"

namespace dravella::engine::dbf {
namespace {

constexpr size_t kDbase2HeaderLength = 521;
constexpr size_t kDbase2Slots = 32;
constexpr size_t kDbase2SlotLength = 16;
constexpr size_t kDbase3HeaderLength = 32;
constexpr size_t kDbase3DescriptorLength = 32;
constexpr uint8_t kEndOfFields = 0x0D;

uint8_t ByteOf(int value, int low, int high) {
  return static_cast<uint8_t>(std::clamp(value, low, high));
}

void StoreName(uint8_t* out, const std::string& name) {
  std::copy(name.begin(), name.end(), out);  // at most 10, the rest stays 0x00
}

std::vector<uint8_t> BuildDbase2Header(const TableLayout& layout, const DbfDate& date) {
  std::vector<uint8_t> header(kDbase2HeaderLength, 0);
  header[0] = 0x02;
  StoreLittleEndian16(&header[1], layout.record_count);
  header[3] = ByteOf(date.month, 1, 12);
  header[4] = ByteOf(date.day, 1, 31);
  header[5] = static_cast<uint8_t>(((date.year % 100) + 100) % 100);
  StoreLittleEndian16(&header[6], layout.record_length);
  uint32_t offset = 1;  // after the deletion flag
  for (size_t i = 0; i < layout.fields.size(); ++i) {
    const FieldLayout& field = layout.fields[i];
    uint8_t* slot = &header[8 + i * kDbase2SlotLength];
    StoreName(slot, field.name);
    slot[11] = static_cast<uint8_t>(field.type);
    slot[12] = static_cast<uint8_t>(field.width);
    StoreLittleEndian16(slot + 13, offset);
    slot[15] = static_cast<uint8_t>(field.decimals);
    offset += static_cast<uint32_t>(field.width);
  }
  // The byte after the last used slot ends the list: the start of the next
  // slot, or byte 520 when all 32 are used.
  header[8 + layout.fields.size() * kDbase2SlotLength] = kEndOfFields;
  static_assert(8 + kDbase2Slots * kDbase2SlotLength == kDbase2HeaderLength - 1);
  return header;
}

std::vector<uint8_t> BuildDbase3Header(const TableLayout& layout, const DbfDate& date) {
  const size_t length =
      kDbase3HeaderLength + layout.fields.size() * kDbase3DescriptorLength + 1;
  std::vector<uint8_t> header(length, 0);
  header[0] = !layout.has_memo ? 0x03 : layout.level == DbfLevel::kDbase4 ? 0x8B : 0x83;
  header[1] = ByteOf(date.year - 1900, 0, 255);
  header[2] = ByteOf(date.month, 1, 12);
  header[3] = ByteOf(date.day, 1, 31);
  StoreLittleEndian32(&header[4], layout.record_count);
  StoreLittleEndian16(&header[8], static_cast<uint32_t>(length));
  StoreLittleEndian16(&header[10], layout.record_length);
  header[29] = LanguageDriverOf(layout.code_page);
  for (size_t i = 0; i < layout.fields.size(); ++i) {
    const FieldLayout& field = layout.fields[i];
    uint8_t* descriptor = &header[kDbase3HeaderLength + i * kDbase3DescriptorLength];
    StoreName(descriptor, field.name);
    descriptor[11] = static_cast<uint8_t>(field.type);
    descriptor[16] = static_cast<uint8_t>(field.width);
    descriptor[17] = static_cast<uint8_t>(field.decimals);
  }
  header[length - 1] = kEndOfFields;
  return header;
}

}  // namespace

std::vector<uint8_t> BuildTableHeader(const TableLayout& layout, const DbfDate& date) {
  if (layout.level == DbfLevel::kDbase2) return BuildDbase2Header(layout, date);
  return BuildDbase3Header(layout, date);
}

}  // namespace dravella::engine::dbf
