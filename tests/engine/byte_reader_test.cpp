// The little-endian helpers: byte order down to the byte, and no read past
// the end of the span, whatever the offset.
#include "engine/xls/byte_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace dravella::engine::xls {
namespace {

const std::vector<uint8_t> kBytes = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09};

TEST(ByteReaderTest, ReadsLittleEndianValues) {
  uint8_t u8 = 0;
  uint16_t u16 = 0;
  uint32_t u32 = 0;
  uint64_t u64 = 0;
  ASSERT_TRUE(ReadU8(kBytes, 8, &u8));
  ASSERT_TRUE(ReadU16(kBytes, 1, &u16));
  ASSERT_TRUE(ReadU32(kBytes, 0, &u32));
  ASSERT_TRUE(ReadU64(kBytes, 1, &u64));
  EXPECT_EQ(u8, 0x09);
  EXPECT_EQ(u16, 0x0302);
  EXPECT_EQ(u32, 0x04030201u);
  EXPECT_EQ(u64, 0x0908070605040302ull);

  const std::vector<uint8_t> one_and_a_half = {0, 0, 0, 0, 0, 0, 0xF8, 0x3F};
  double value = 0;
  ASSERT_TRUE(ReadF64(one_and_a_half, 0, &value));
  EXPECT_EQ(value, 1.5);
}

TEST(ByteReaderTest, RefusesEveryReadThatWouldPassTheEnd) {
  uint16_t u16 = 0xAAAA;
  uint32_t u32 = 0;
  uint64_t u64 = 0;
  EXPECT_FALSE(ReadU16(kBytes, 8, &u16));
  EXPECT_EQ(u16, 0xAAAA) << "a failed read leaves its output alone";
  EXPECT_FALSE(ReadU32(kBytes, 6, &u32));
  EXPECT_FALSE(ReadU64(kBytes, 2, &u64));
  EXPECT_FALSE(ReadU16(kBytes, 9, &u16));
  EXPECT_FALSE(ReadU16(kBytes, std::numeric_limits<size_t>::max(), &u16)) << "offset + size must not wrap";
  EXPECT_FALSE(ReadU16({}, 0, &u16));
  EXPECT_TRUE(HasBytes(kBytes, 9, 0));
  EXPECT_FALSE(HasBytes(kBytes, 10, 0));
}

TEST(ByteReaderTest, CursorFailsForGoodOnceShort) {
  ByteCursor c(kBytes);
  EXPECT_EQ(c.U16(), 0x0201);
  EXPECT_EQ(c.U32(), 0x06050403u);
  EXPECT_TRUE(c.ok());
  EXPECT_EQ(c.remaining(), 3u);
  EXPECT_EQ(c.U32(), 0u) << "three bytes left: a 4-byte read fails";
  EXPECT_FALSE(c.ok());
  EXPECT_EQ(c.U8(), 0) << "and so does every read after it";
  EXPECT_EQ(c.offset(), 6u);
  EXPECT_TRUE(c.Span(1).empty());
}

}  // namespace
}  // namespace dravella::engine::xls
