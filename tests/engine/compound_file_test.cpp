// The compound-file reader: streams come back byte for byte from both
// container versions, the mini stream and DIFAT-listed FATs; damaged
// containers give the named error; the sloppiness real writers show is read.
#include "engine/xls/compound_file.h"

#include <gtest/gtest.h>

#include <functional>
#include <numeric>
#include <string>
#include <vector>

#include "tests/support/xls_builder.h"

namespace dravella::engine::xls {
namespace {

using testing::CfbVersion;
using testing::CompoundFileBuilder;
using testing::CompoundFileLayout;
using testing::PutU16;
using testing::PutU32;

std::vector<uint8_t> Pattern(size_t size, uint8_t seed) {
  std::vector<uint8_t> bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(seed + i * 7 + i / 251);
  return bytes;
}

Result<std::vector<uint8_t>> ReadNamed(const std::vector<uint8_t>& file, const std::string& name) {
  const MemorySource source(file);
  Result<CompoundFile> cf = CompoundFile::Parse(source);
  if (!cf.ok()) return cf.status();
  std::optional<uint32_t> entry = cf->FindStream(name);
  if (!entry) return Status::Error(ErrorCode::kNotAWorkbook, "no stream " + name);
  return cf->ReadStream(*entry);
}

struct RoundTrip {
  const char* name;
  CfbVersion version;
  uint32_t minimum_fat_sectors;
};

void PrintTo(const RoundTrip& c, std::ostream* out) { *out << c.name; }

class CompoundFileRoundTripTest : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(CompoundFileRoundTripTest, GivesBackEveryStream) {
  const RoundTrip& param = GetParam();
  CompoundFileBuilder builder(param.version);
  builder.SetMinimumFatSectors(param.minimum_fat_sectors);
  // Below, at and above the mini-stream cutoff, and several sectors long.
  const std::vector<std::pair<std::string, size_t>> streams = {
      {"Workbook", 20000}, {"Small", 100}, {"Cutoff", 4096}, {"Just below", 4095}, {"Empty", 0}};
  uint8_t seed = 1;
  for (const auto& [name, size] : streams) builder.AddStream(name, Pattern(size, seed++));
  CompoundFileLayout layout;
  const std::vector<uint8_t> file = builder.Build(&layout);
  if (param.minimum_fat_sectors > 109) {
    ASSERT_FALSE(layout.difat_sectors.empty());
  }

  seed = 1;
  for (const auto& [name, size] : streams) {
    Result<std::vector<uint8_t>> bytes = ReadNamed(file, name);
    ASSERT_TRUE(bytes.ok()) << name << ": " << bytes.status().description();
    EXPECT_EQ(bytes.value(), Pattern(size, seed++)) << name;
  }
}

INSTANTIATE_TEST_SUITE_P(Containers, CompoundFileRoundTripTest,
                         ::testing::Values(RoundTrip{"Version3", CfbVersion::k3, 0},
                                           RoundTrip{"Version4", CfbVersion::k4, 0},
                                           RoundTrip{"Version3WithDifat", CfbVersion::k3, 120},
                                           RoundTrip{"Version4WithDifat", CfbVersion::k4, 110}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CompoundFileTest, FindsNamesWithoutRegardToAsciiCaseAndOnlyThose) {
  const std::vector<uint8_t> file =
      CompoundFileBuilder().AddStream("Workbook", Pattern(5000, 3)).AddStream("Other", {1}).Build();
  const MemorySource source(file);
  Result<CompoundFile> cf = CompoundFile::Parse(source);
  ASSERT_TRUE(cf.ok());
  EXPECT_TRUE(cf->FindStream("WORKBOOK"));
  EXPECT_TRUE(cf->FindStream("workbook"));
  EXPECT_FALSE(cf->FindStream("Book"));
  EXPECT_FALSE(cf->FindStream("Workboo"));
}

// A damaged or cut container, and what reading the "Workbook" stream gives.
struct Damage {
  const char* name;
  std::function<void(std::vector<uint8_t>& file, const CompoundFileLayout& layout)> apply;
  ErrorCode expected;
  const char* message_part;
};

void PrintTo(const Damage& c, std::ostream* out) { *out << c.name; }

class CompoundFileDamageTest : public ::testing::TestWithParam<Damage> {};

TEST_P(CompoundFileDamageTest, IsReportedWithItsError) {
  CompoundFileBuilder builder;
  builder.SetMinimumFatSectors(112);  // so that there is a DIFAT sector to damage
  builder.AddStream("Workbook", Pattern(9000, 5)).AddStream("Small", Pattern(300, 6));
  CompoundFileLayout layout;
  std::vector<uint8_t> file = builder.Build(&layout);
  GetParam().apply(file, layout);

  Result<std::vector<uint8_t>> workbook = ReadNamed(file, "Workbook");
  Result<std::vector<uint8_t>> small = ReadNamed(file, "Small");
  const Status& status = !workbook.ok() ? workbook.status() : small.status();
  ASSERT_FALSE(status.ok()) << "the damage went unnoticed";
  EXPECT_EQ(status.code(), GetParam().expected) << status.description();
  EXPECT_NE(status.description().find(GetParam().message_part), std::string::npos) << status.description();
}

const Damage kDamages[] = {
    {"HeaderCutShort", [](auto& f, auto&) { f.resize(300); }, ErrorCode::kTruncated, "header"},
    {"FileCutInsideTheStream",
     [](auto& f, auto& l) { f.resize(l.SectorOffset(l.StreamNamed("Workbook").sectors[3])); }, ErrorCode::kTruncated,
     "sector"},
    {"StreamChainLoops",
     [](auto& f, auto& l) {
       const auto& s = l.StreamNamed("Workbook").sectors;
       PutU32(f, l.FatEntryOffset(s[4]), s[1]);
     },
     ErrorCode::kDamaged, "twice"},
    {"StreamChainLeavesTheFile",
     [](auto& f, auto& l) { PutU32(f, l.FatEntryOffset(l.StreamNamed("Workbook").sectors[2]), 5000); },
     ErrorCode::kTruncated, "sector 5000"},
    {"StreamChainNamesAnAbsurdSector",
     [](auto& f, auto& l) { PutU32(f, l.FatEntryOffset(l.StreamNamed("Workbook").sectors[2]), 0x7FFFFFF0); },
     ErrorCode::kDamaged, "sector 2147483632"},
    {"StreamStartsInTheDirectory",
     [](auto& f, auto& l) {
       PutU32(f, l.DirectoryEntryOffset(l.StreamNamed("Workbook").directory_entry) + 116, l.directory_sectors[0]);
     },
     ErrorCode::kDamaged, "belongs to both"},
    {"DirectoryChainLoops",
     [](auto& f, auto& l) { PutU32(f, l.FatEntryOffset(l.directory_sectors.back()), l.directory_sectors[0]); },
     ErrorCode::kDamaged, "directory"},
    {"DifatChainLoops",
     [](auto& f, auto& l) {
       const uint32_t difat = l.difat_sectors.at(0);
       PutU32(f, l.SectorOffset(difat) + l.sector_size - 4, difat);
     },
     ErrorCode::kDamaged, "DIFAT"},
    {"FatSectorListedTwice",
     [](auto& f, auto& l) { PutU32(f, 0x4C + 4, l.fat_sectors[0]); }, ErrorCode::kDamaged, "twice"},
    {"MiniChainLoops",
     [](auto& f, auto& l) {
       const auto& s = l.StreamNamed("Small").sectors;
       PutU32(f, l.MiniFatEntryOffset(s[3]), s[0]);
     },
     ErrorCode::kDamaged, "mini sector"},
    {"MiniChainLeavesTheMiniStream",
     [](auto& f, auto& l) { PutU32(f, l.MiniFatEntryOffset(l.StreamNamed("Small").sectors[1]), 900); },
     ErrorCode::kDamaged, "mini sector 900"},
    {"EmptyDirectory",
     [](auto& f, auto&) { PutU32(f, 0x30, 0xFFFFFFFE); }, ErrorCode::kDamaged, "directory is empty"},
};

INSTANTIATE_TEST_SUITE_P(Damages, CompoundFileDamageTest, ::testing::ValuesIn(kDamages),
                         [](const auto& info) { return std::string(info.param.name); });

// What real writers get wrong and readers forgive.
TEST(CompoundFileTest, ForgivesWhatRealWritersGetWrong) {
  CompoundFileBuilder builder;
  builder.AddStream("Workbook", Pattern(9000, 5));
  CompoundFileLayout layout;
  const std::vector<uint8_t> good = builder.Build(&layout);
  const auto& stream = layout.StreamNamed("Workbook");
  const size_t size_field = layout.DirectoryEntryOffset(stream.directory_entry) + 120;

  {  // A chain longer than the stream: only the recorded size is read.
    std::vector<uint8_t> file = good;
    PutU32(file, size_field, 5000);
    Result<std::vector<uint8_t>> bytes = ReadNamed(file, "Workbook");
    ASSERT_TRUE(bytes.ok()) << bytes.status().description();
    const std::vector<uint8_t> whole = Pattern(9000, 5);
    EXPECT_EQ(bytes.value(), std::vector<uint8_t>(whole.begin(), whole.begin() + 5000));
  }
  {  // A size larger than the chain: the chain's bytes.
    std::vector<uint8_t> file = good;
    PutU32(file, size_field, 100000);
    Result<std::vector<uint8_t>> bytes = ReadNamed(file, "Workbook");
    ASSERT_TRUE(bytes.ok()) << bytes.status().description();
    EXPECT_EQ(bytes->size(), stream.sectors.size() * 512);
  }
  {  // Garbage in the high half of a version 3 size.
    std::vector<uint8_t> file = good;
    PutU32(file, size_field + 4, 0xDEADBEEF);
    Result<std::vector<uint8_t>> bytes = ReadNamed(file, "Workbook");
    ASSERT_TRUE(bytes.ok()) << bytes.status().description();
    EXPECT_EQ(bytes.value(), Pattern(9000, 5));
  }
  {  // A final sector cut short after the stream's last byte.
    std::vector<uint8_t> file = good;
    const size_t stream_end = layout.SectorOffset(stream.sectors.back()) + (9000 - 512 * (stream.sectors.size() - 1));
    ASSERT_EQ(layout.SectorOffset(stream.sectors.back()) + 512, file.size()) << "the stream is the file's end";
    file.resize(stream_end);
    Result<std::vector<uint8_t>> bytes = ReadNamed(file, "Workbook");
    ASSERT_TRUE(bytes.ok()) << bytes.status().description();
    EXPECT_EQ(bytes.value(), Pattern(9000, 5));
  }
  {  // A sector size no container has: read as 512.
    std::vector<uint8_t> file = good;
    PutU16(file, 0x1E, 40);
    Result<std::vector<uint8_t>> bytes = ReadNamed(file, "Workbook");
    ASSERT_TRUE(bytes.ok()) << bytes.status().description();
  }
  {  // A broken directory tree: the stream is still found by its name.
    std::vector<uint8_t> file = good;
    PutU32(file, layout.DirectoryEntryOffset(0) + 76, 77);  // root's child out of range
    Result<std::vector<uint8_t>> bytes = ReadNamed(file, "Workbook");
    ASSERT_TRUE(bytes.ok()) << bytes.status().description();
  }
}

TEST(CompoundFileTest, FatSectorsListedBeyondTheFileCostNoMemory) {
  CompoundFileLayout layout;
  std::vector<uint8_t> file = CompoundFileBuilder().AddStream("Workbook", Pattern(9000, 5)).Build(&layout);
  ASSERT_EQ(layout.fat_sectors.size(), 1u);
  for (uint32_t i = 1; i < 109; ++i) PutU32(file, 0x4C + 4 * i, 0x7FFF0000 + i);
  const MemorySource source(file);
  Result<CompoundFile> cf = CompoundFile::Parse(source);
  ASSERT_TRUE(cf.ok()) << cf.status().description();
  EXPECT_EQ(cf->fat_size(), 128u) << "one FAT sector describes every sector the file holds";
  Result<std::vector<uint8_t>> bytes = cf->ReadStream(*cf->FindStream("Workbook"));
  ASSERT_TRUE(bytes.ok()) << bytes.status().description();
  EXPECT_EQ(bytes.value(), Pattern(9000, 5));
}

TEST(CompoundFileTest, RefusesFilesWithoutTheSignature) {
  const std::vector<uint8_t> not_a_container(600, 0x41);
  const MemorySource source(not_a_container);
  Result<CompoundFile> cf = CompoundFile::Parse(source);
  ASSERT_FALSE(cf.ok());
  EXPECT_EQ(cf.status().code(), ErrorCode::kNotAWorkbook);
  EXPECT_FALSE(CompoundFile::HasSignature(not_a_container));
}

}  // namespace
}  // namespace dravella::engine::xls
