#include "tests/support/compound_file_builder.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>

#include "tests/support/byte_writer.h"
#include "tests/support/text_encoding.h"

namespace dravella::testing {
namespace {

constexpr uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr uint8_t kTypeStream = 2;
constexpr uint8_t kTypeRoot = 5;
constexpr uint8_t kBlack = 1;

uint32_t CeilDiv(uint64_t value, uint64_t divisor) {
  return static_cast<uint32_t>((value + divisor - 1) / divisor);
}

char16_t UpperAscii(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }

// The directory's order: shorter names first, then code unit by code unit
// after upper-casing.
bool NameLess(const std::u16string& a, const std::u16string& b) {
  if (a.size() != b.size()) return a.size() < b.size();
  for (size_t i = 0; i < a.size(); ++i) {
    const char16_t ca = UpperAscii(a[i]);
    const char16_t cb = UpperAscii(b[i]);
    if (ca != cb) return ca < cb;
  }
  return false;
}

struct TreeLinks {
  uint32_t left = kCfbNoStream;
  uint32_t right = kCfbNoStream;
};

// Links sorted[first, last) into a balanced tree; returns its root entry.
uint32_t LinkBalanced(const std::vector<uint32_t>& sorted, size_t first, size_t last,
                      std::vector<TreeLinks>& links) {
  if (first >= last) return kCfbNoStream;
  const size_t middle = first + (last - first) / 2;
  const uint32_t entry = sorted[middle];
  links[entry].left = LinkBalanced(sorted, first, middle, links);
  links[entry].right = LinkBalanced(sorted, middle + 1, last, links);
  return entry;
}

}  // namespace

size_t CompoundFileLayout::FatEntryOffset(uint32_t sector) const {
  const uint32_t per_sector = sector_size / 4;
  return SectorOffset(fat_sectors.at(sector / per_sector)) + (sector % per_sector) * 4;
}

size_t CompoundFileLayout::DirectoryEntryOffset(uint32_t entry) const {
  const uint32_t per_sector = sector_size / kCfbDirectoryEntrySize;
  return SectorOffset(directory_sectors.at(entry / per_sector)) +
         (entry % per_sector) * kCfbDirectoryEntrySize;
}

size_t CompoundFileLayout::MiniSectorOffset(uint32_t mini_sector) const {
  const size_t position = size_t{mini_sector} * kCfbMiniSectorSize;
  return SectorOffset(mini_stream_sectors.at(position / sector_size)) + position % sector_size;
}

size_t CompoundFileLayout::MiniFatEntryOffset(uint32_t mini_sector) const {
  const uint32_t per_sector = sector_size / 4;
  return SectorOffset(mini_fat_sectors.at(mini_sector / per_sector)) + (mini_sector % per_sector) * 4;
}

const CompoundFileLayout::Stream& CompoundFileLayout::StreamNamed(const std::string& name) const {
  for (const Stream& stream : streams) {
    if (stream.name == name) return stream;
  }
  throw std::out_of_range("no stream named " + name);
}

CompoundFileBuilder::CompoundFileBuilder(CfbVersion version) : version_(version) {}

CompoundFileBuilder& CompoundFileBuilder::AddStream(std::string name, std::vector<uint8_t> bytes) {
  std::u16string utf16 = Utf8ToUtf16(name);
  if (utf16.empty() || utf16.size() > 31) {
    throw std::invalid_argument("a stream name has 1 to 31 characters: " + name);
  }
  for (const PendingStream& other : streams_) {
    if (!NameLess(other.utf16_name, utf16) && !NameLess(utf16, other.utf16_name)) {
      throw std::invalid_argument("two streams named " + name);
    }
  }
  streams_.push_back({std::move(name), std::move(utf16), std::move(bytes)});
  return *this;
}

CompoundFileBuilder& CompoundFileBuilder::SetMinimumFatSectors(uint32_t count) {
  minimum_fat_sectors_ = count;
  return *this;
}

std::vector<uint8_t> CompoundFileBuilder::Build(CompoundFileLayout* layout_out) const {
  const uint32_t sector = sector_size();
  const uint32_t per_sector = sector / 4;
  CompoundFileLayout layout;
  layout.sector_size = sector;

  // Count what goes where.
  const uint32_t entries = static_cast<uint32_t>(streams_.size()) + 1;
  const uint32_t directory_count = CeilDiv(uint64_t{entries} * kCfbDirectoryEntrySize, sector);
  uint32_t mini_sector_total = 0;
  uint32_t big_sector_total = 0;
  for (const PendingStream& s : streams_) {
    if (s.bytes.size() < kCfbMiniStreamCutoff) {
      mini_sector_total += CeilDiv(s.bytes.size(), kCfbMiniSectorSize);
    } else {
      big_sector_total += CeilDiv(s.bytes.size(), sector);
    }
  }
  const uint64_t mini_stream_size = uint64_t{mini_sector_total} * kCfbMiniSectorSize;
  const uint32_t container_count = CeilDiv(mini_stream_size, sector);
  const uint32_t mini_fat_count = CeilDiv(mini_sector_total, per_sector);
  const uint32_t data_count = directory_count + mini_fat_count + container_count + big_sector_total;

  // The FAT covers itself and the DIFAT too: settle both sizes together.
  uint32_t fat_count = 0;
  uint32_t difat_count = 0;
  for (;;) {
    uint32_t fat_needed = std::max(CeilDiv(uint64_t{data_count} + fat_count + difat_count, per_sector),
                                   minimum_fat_sectors_);
    uint32_t difat_needed = fat_needed > kCfbHeaderDifatEntries
                                ? CeilDiv(fat_needed - kCfbHeaderDifatEntries, per_sector - 1)
                                : 0;
    if (fat_needed == fat_count && difat_needed == difat_count) break;
    fat_count = fat_needed;
    difat_count = difat_needed;
  }

  // Hand out sectors in layout order.
  uint32_t next = 0;
  auto take = [&next](uint32_t count) {
    std::vector<uint32_t> run(count);
    std::iota(run.begin(), run.end(), next);
    next += count;
    return run;
  };
  layout.fat_sectors = take(fat_count);
  layout.difat_sectors = take(difat_count);
  layout.directory_sectors = take(directory_count);
  layout.mini_fat_sectors = take(mini_fat_count);
  layout.mini_stream_sectors = take(container_count);
  uint32_t next_mini = 0;
  for (uint32_t i = 0; i < streams_.size(); ++i) {
    const PendingStream& s = streams_[i];
    CompoundFileLayout::Stream placed;
    placed.name = s.name;
    placed.directory_entry = i + 1;
    placed.size = s.bytes.size();
    placed.in_mini_stream = s.bytes.size() < kCfbMiniStreamCutoff;
    if (placed.in_mini_stream) {
      const uint32_t count = CeilDiv(s.bytes.size(), kCfbMiniSectorSize);
      placed.sectors.resize(count);
      std::iota(placed.sectors.begin(), placed.sectors.end(), next_mini);
      next_mini += count;
    } else {
      placed.sectors = take(CeilDiv(s.bytes.size(), sector));
    }
    layout.streams.push_back(std::move(placed));
  }
  const uint32_t total_sectors = next;

  // Allocation tables.
  std::vector<uint32_t> fat(size_t{fat_count} * per_sector, kCfbFreeSector);
  auto chain = [](std::vector<uint32_t>& table, const std::vector<uint32_t>& run) {
    for (size_t i = 0; i < run.size(); ++i) {
      table[run[i]] = i + 1 < run.size() ? run[i + 1] : kCfbEndOfChain;
    }
  };
  for (uint32_t s : layout.fat_sectors) fat[s] = kCfbFatSector;
  for (uint32_t s : layout.difat_sectors) fat[s] = kCfbDifatSector;
  chain(fat, layout.directory_sectors);
  chain(fat, layout.mini_fat_sectors);
  chain(fat, layout.mini_stream_sectors);
  std::vector<uint32_t> mini_fat(size_t{mini_fat_count} * per_sector, kCfbFreeSector);
  for (const CompoundFileLayout::Stream& placed : layout.streams) {
    chain(placed.in_mini_stream ? mini_fat : fat, placed.sectors);
  }

  const size_t header_size = sector;  // version 4 pads the 512-byte header to a sector
  std::vector<uint8_t> file(header_size + size_t{total_sectors} * sector, 0);

  // Header.
  std::copy(std::begin(kSignature), std::end(kSignature), file.begin());
  PutU16(file, 24, 0x003E);  // minor version
  PutU16(file, 26, static_cast<uint16_t>(version_));
  PutU16(file, 28, 0xFFFE);  // byte order mark: little-endian
  PutU16(file, 30, version_ == CfbVersion::k3 ? 9 : 12);
  PutU16(file, 32, 6);  // mini sectors of 64 bytes
  PutU32(file, 40, version_ == CfbVersion::k3 ? 0 : directory_count);
  PutU32(file, 44, fat_count);
  PutU32(file, 48, layout.directory_sectors.front());
  PutU32(file, 56, kCfbMiniStreamCutoff);
  PutU32(file, 60, mini_fat_count ? layout.mini_fat_sectors.front() : kCfbEndOfChain);
  PutU32(file, 64, mini_fat_count);
  PutU32(file, 68, difat_count ? layout.difat_sectors.front() : kCfbEndOfChain);
  PutU32(file, 72, difat_count);
  for (uint32_t i = 0; i < kCfbHeaderDifatEntries; ++i) {
    PutU32(file, 76 + 4 * i, i < fat_count ? layout.fat_sectors[i] : kCfbFreeSector);
  }

  // DIFAT sectors: the FAT sectors beyond the header's 109, then the next
  // DIFAT sector in the last slot.
  for (uint32_t d = 0; d < difat_count; ++d) {
    const size_t base = layout.SectorOffset(layout.difat_sectors[d]);
    for (uint32_t k = 0; k + 1 < per_sector; ++k) {
      const size_t index = kCfbHeaderDifatEntries + size_t{d} * (per_sector - 1) + k;
      PutU32(file, base + 4 * k, index < fat_count ? layout.fat_sectors[index] : kCfbFreeSector);
    }
    PutU32(file, base + 4 * (per_sector - 1),
           d + 1 < difat_count ? layout.difat_sectors[d + 1] : kCfbEndOfChain);
  }

  for (size_t i = 0; i < fat.size(); ++i) {
    PutU32(file, layout.SectorOffset(layout.fat_sectors[i / per_sector]) + (i % per_sector) * 4, fat[i]);
  }
  for (size_t i = 0; i < mini_fat.size(); ++i) {
    PutU32(file, layout.MiniFatEntryOffset(static_cast<uint32_t>(i)), mini_fat[i]);
  }

  // Directory: the root, the streams, then free entries.
  std::vector<uint32_t> sorted(streams_.size());
  std::iota(sorted.begin(), sorted.end(), 1);
  std::sort(sorted.begin(), sorted.end(), [this](uint32_t a, uint32_t b) {
    return NameLess(streams_[a - 1].utf16_name, streams_[b - 1].utf16_name);
  });
  std::vector<TreeLinks> links(entries);
  const uint32_t tree_root = LinkBalanced(sorted, 0, sorted.size(), links);

  auto write_entry = [&](uint32_t entry, std::u16string_view name, uint8_t type, uint32_t child,
                         uint32_t start, uint64_t size) {
    const size_t base = layout.DirectoryEntryOffset(entry);
    for (size_t k = 0; k < name.size(); ++k) PutU16(file, base + 2 * k, name[k]);
    PutU16(file, base + 64, static_cast<uint16_t>((name.size() + 1) * 2));
    file[base + 66] = type;
    file[base + 67] = kBlack;
    PutU32(file, base + 68, links[entry].left);
    PutU32(file, base + 72, links[entry].right);
    PutU32(file, base + 76, child);
    PutU32(file, base + 116, start);
    PutU64(file, base + 120, size);
  };
  write_entry(0, u"Root Entry", kTypeRoot, tree_root,
              container_count ? layout.mini_stream_sectors.front() : kCfbEndOfChain, mini_stream_size);
  for (const CompoundFileLayout::Stream& placed : layout.streams) {
    write_entry(placed.directory_entry, streams_[placed.directory_entry - 1].utf16_name, kTypeStream,
                kCfbNoStream, placed.sectors.empty() ? kCfbEndOfChain : placed.sectors.front(),
                placed.size);
  }
  const uint32_t entry_slots = directory_count * (sector / kCfbDirectoryEntrySize);
  for (uint32_t entry = entries; entry < entry_slots; ++entry) {
    const size_t base = layout.DirectoryEntryOffset(entry);
    PutU32(file, base + 68, kCfbNoStream);
    PutU32(file, base + 72, kCfbNoStream);
    PutU32(file, base + 76, kCfbNoStream);
  }

  // Stream contents.
  for (const CompoundFileLayout::Stream& placed : layout.streams) {
    const std::vector<uint8_t>& bytes = streams_[placed.directory_entry - 1].bytes;
    const size_t unit = placed.in_mini_stream ? kCfbMiniSectorSize : sector;
    for (size_t k = 0; k < placed.sectors.size(); ++k) {
      const size_t from = k * unit;
      const size_t count = std::min(unit, bytes.size() - from);
      const size_t to = placed.in_mini_stream ? layout.MiniSectorOffset(placed.sectors[k])
                                              : layout.SectorOffset(placed.sectors[k]);
      std::copy_n(bytes.begin() + static_cast<ptrdiff_t>(from), count,
                  file.begin() + static_cast<ptrdiff_t>(to));
    }
  }

  if (layout_out != nullptr) *layout_out = std::move(layout);
  return file;
}

}  // namespace dravella::testing
