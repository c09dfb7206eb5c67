// The compound file writer, read back by an independent reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "tests/support/selftest/independent_readers.h"
#include "tests/support/xls_builder.h"

namespace dravella::testing {
namespace {

using selftest::CompoundFileReader;
using selftest::Le16;
using selftest::Le32;

std::vector<uint8_t> Pattern(size_t size, uint8_t seed) {
  std::vector<uint8_t> bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(seed + i * 7 + (i >> 8));
  return bytes;
}

class CompoundFileVersions : public ::testing::TestWithParam<CfbVersion> {};

TEST_P(CompoundFileVersions, StreamsOfEverySizeReadBackExactly) {
  // Sizes around the 64-byte mini sector, the 4096-byte cutoff and the
  // regular sector size.
  const std::vector<size_t> sizes = {0, 1, 63, 64, 65, 511, 512, 513, 4095, 4096, 4097, 70000};
  CompoundFileBuilder builder(GetParam());
  for (size_t i = 0; i < sizes.size(); ++i) {
    builder.AddStream("S" + std::to_string(sizes[i]), Pattern(sizes[i], static_cast<uint8_t>(i)));
  }
  CompoundFileLayout layout;
  const std::vector<uint8_t> file = builder.Build(&layout);

  const CompoundFileReader reader(file);
  for (size_t i = 0; i < sizes.size(); ++i) {
    SCOPED_TRACE(sizes[i]);
    const std::string name = "S" + std::to_string(sizes[i]);
    EXPECT_EQ(reader.Stream(std::u16string(name.begin(), name.end())), Pattern(sizes[i], static_cast<uint8_t>(i)));
    EXPECT_EQ(layout.StreamNamed(name).in_mini_stream, sizes[i] < 4096);
  }
}

TEST_P(CompoundFileVersions, HeaderFieldsFollowTheVersion) {
  const bool v3 = GetParam() == CfbVersion::k3;
  CompoundFileBuilder builder(GetParam());
  builder.AddStream("Workbook", Pattern(5000, 1)).AddStream("small", Pattern(100, 2));
  CompoundFileLayout layout;
  const std::vector<uint8_t> file = builder.Build(&layout);

  const uint32_t sector = v3 ? 512 : 4096;
  EXPECT_EQ(Le32(file, 0), 0xE011CFD0u);
  EXPECT_EQ(Le32(file, 4), 0xE11AB1A1u);
  EXPECT_EQ(Le16(file, 24), 0x003E);
  EXPECT_EQ(Le16(file, 26), v3 ? 3 : 4);
  EXPECT_EQ(Le16(file, 28), 0xFFFE);
  EXPECT_EQ(Le16(file, 30), v3 ? 9 : 12);
  EXPECT_EQ(Le16(file, 32), 6);
  // Version 3 must leave the directory sector count at 0.
  EXPECT_EQ(Le32(file, 40), v3 ? 0u : layout.directory_sectors.size());
  EXPECT_EQ(Le32(file, 44), layout.fat_sectors.size());
  EXPECT_EQ(Le32(file, 48), layout.directory_sectors.front());
  EXPECT_EQ(Le32(file, 56), 4096u);
  EXPECT_EQ(Le32(file, 60), layout.mini_fat_sectors.front());
  EXPECT_EQ(Le32(file, 68), kCfbEndOfChain);  // no DIFAT sectors
  EXPECT_EQ(Le32(file, 72), 0u);
  EXPECT_EQ(file.size() % sector, 0u);
  if (!v3) {
    // The 512-byte header is padded with zeros to a whole sector.
    EXPECT_TRUE(std::all_of(file.begin() + 512, file.begin() + 4096, [](uint8_t b) { return b == 0; }));
  }
  // The root entry holds the mini stream.
  EXPECT_EQ(Le32(file, layout.DirectoryEntryOffset(0) + 116), layout.mini_stream_sectors.front());
  EXPECT_EQ(Le32(file, layout.DirectoryEntryOffset(0) + 120), 128u);  // two 64-byte mini sectors
}

INSTANTIATE_TEST_SUITE_P(Versions, CompoundFileVersions, ::testing::Values(CfbVersion::k3, CfbVersion::k4),
                         [](const auto& info) { return info.param == CfbVersion::k3 ? "V3" : "V4"; });

TEST(CompoundFileDifat, ListsTheFatSectorsBeyondTheHeadersHundredAndNine) {
  struct Case {
    const char* what;
    size_t stream_size;
    uint32_t minimum_fat;
  };
  // 110 FAT sectors of 128 entries cover more than 109 * 128 sectors of data.
  const Case cases[] = {
      {"a stream of 7 MB", 110 * 128 * 512, 0},
      {"a forced large FAT", 10000, 300},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CompoundFileBuilder builder(CfbVersion::k3);
    builder.AddStream("Workbook", Pattern(c.stream_size, 3)).SetMinimumFatSectors(c.minimum_fat);
    CompoundFileLayout layout;
    const std::vector<uint8_t> file = builder.Build(&layout);

    ASSERT_GT(layout.fat_sectors.size(), 109u);
    EXPECT_EQ(layout.difat_sectors.size(), (layout.fat_sectors.size() - 109 + 126) / 127);
    EXPECT_EQ(Le32(file, 68), layout.difat_sectors.front());
    EXPECT_EQ(Le32(file, 72), layout.difat_sectors.size());
    // The FAT marks its own sectors and the DIFAT's.
    EXPECT_EQ(Le32(file, layout.FatEntryOffset(layout.fat_sectors.back())), kCfbFatSector);
    EXPECT_EQ(Le32(file, layout.FatEntryOffset(layout.difat_sectors.front())), kCfbDifatSector);
    // The last DIFAT sector ends the chain.
    const size_t last = layout.SectorOffset(layout.difat_sectors.back());
    EXPECT_EQ(Le32(file, last + 508), kCfbEndOfChain);

    const CompoundFileReader reader(file);
    EXPECT_EQ(reader.Stream(u"Workbook"), Pattern(c.stream_size, 3));
  }
}

TEST(CompoundFileDirectory, IsASearchTreeOfBlackNodesInTheFormatsNameOrder) {
  const std::vector<std::string> names = {"Workbook", "\x05SummaryInformation", "b", "A", "zz", "Ctls",
                                          "\x05DocumentSummaryInformation", "aa", "Book", "c1", "C2", "x"};
  CompoundFileBuilder builder;
  for (const std::string& name : names) builder.AddStream(name, Pattern(10, 0));
  CompoundFileLayout layout;
  const std::vector<uint8_t> file = builder.Build(&layout);

  const CompoundFileReader reader(file);
  const std::vector<std::u16string> in_order = reader.NamesInTreeOrder();
  ASSERT_EQ(in_order.size(), names.size());
  // Shorter names first, then by upper-cased code units.
  auto key = [](const std::u16string& n) {
    std::u16string upper = n;
    for (char16_t& c : upper) c = (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
    return std::pair(n.size(), upper);
  };
  EXPECT_TRUE(std::is_sorted(in_order.begin(), in_order.end(),
                             [&](const auto& a, const auto& b) { return key(a) < key(b); }));
  for (uint32_t entry = 0; entry <= names.size(); ++entry) {
    EXPECT_EQ(file[layout.DirectoryEntryOffset(entry) + 67], 1) << "entry " << entry << " is not black";
  }
  // Unused entries of the last directory sector point nowhere.
  EXPECT_EQ(Le32(file, layout.DirectoryEntryOffset(13) + 76), kCfbNoStream);
  EXPECT_EQ(file[layout.DirectoryEntryOffset(13) + 66], 0);
}

TEST(CompoundFileDirectory, RejectsNamesTheFormatCannotHold) {
  CompoundFileBuilder builder;
  builder.AddStream("Workbook", {});
  EXPECT_THROW(builder.AddStream("WORKBOOK", {}), std::invalid_argument);  // same name ignoring case
  EXPECT_THROW(builder.AddStream("", {}), std::invalid_argument);
  EXPECT_THROW(builder.AddStream(std::string(32, 'n'), {}), std::invalid_argument);
  EXPECT_NO_THROW(builder.AddStream(std::string(31, 'n'), {}));
}

TEST(CompoundFileLayout, PointsAtTheBytesTestsDamage) {
  CompoundFileBuilder builder;
  builder.AddStream("Workbook", Pattern(9000, 4)).AddStream("small", Pattern(200, 5));
  CompoundFileLayout layout;
  std::vector<uint8_t> file = builder.Build(&layout);
  const auto& big = layout.StreamNamed("Workbook");
  const auto& small = layout.StreamNamed("small");
  ASSERT_FALSE(big.in_mini_stream);
  ASSERT_TRUE(small.in_mini_stream);
  EXPECT_EQ(file[layout.SectorOffset(big.sectors[1])], Pattern(9000, 4)[512]);
  EXPECT_EQ(file[layout.MiniSectorOffset(small.sectors[2]) + 5], Pattern(200, 5)[128 + 5]);
  EXPECT_EQ(Le32(file, layout.MiniFatEntryOffset(small.sectors[0])), small.sectors[1]);

  // A FAT entry that points back at its own sector makes a loop.
  PutU32(file, layout.FatEntryOffset(big.sectors[3]), big.sectors[3]);
  const CompoundFileReader reader(file);
  EXPECT_THROW(reader.Stream(u"Workbook"), std::runtime_error);
}

}  // namespace
}  // namespace dravella::testing
