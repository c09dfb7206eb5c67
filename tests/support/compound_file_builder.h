// Writes a compound file (the OLE2 container that holds a BIFF5/BIFF8
// workbook) from named streams.
//
// File layout, sector n at byte (n + 1) * sector size:
//
//   header (512 bytes; padded to 4096 in version 4)
//   FAT sectors | DIFAT sectors | directory | mini FAT | mini stream | streams
//
// Streams shorter than the 4096-byte cutoff live in the mini stream (64-byte
// mini sectors chained by the mini FAT); longer ones in regular sectors. When
// the FAT needs more than the 109 sectors the header can list, DIFAT sectors
// list the rest. All streams sit in the root storage; the directory is a
// balanced binary tree of black nodes.
//
// Build() can also return where everything went, so tests can damage a
// chosen structure on purpose.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace dravella::testing {

enum class CfbVersion : uint16_t {
  k3 = 3,  // 512-byte sectors
  k4 = 4,  // 4096-byte sectors
};

// Special sector numbers of the allocation tables.
inline constexpr uint32_t kCfbFreeSector = 0xFFFFFFFF;
inline constexpr uint32_t kCfbEndOfChain = 0xFFFFFFFE;
inline constexpr uint32_t kCfbFatSector = 0xFFFFFFFD;
inline constexpr uint32_t kCfbDifatSector = 0xFFFFFFFC;
inline constexpr uint32_t kCfbNoStream = 0xFFFFFFFF;
inline constexpr uint32_t kCfbMiniStreamCutoff = 4096;
inline constexpr uint32_t kCfbMiniSectorSize = 64;
inline constexpr uint32_t kCfbDirectoryEntrySize = 128;
inline constexpr uint32_t kCfbHeaderDifatEntries = 109;

// Where Build() put each structure. Sector numbers are as the FAT counts them.
struct CompoundFileLayout {
  struct Stream {
    std::string name;
    uint32_t directory_entry = 0;    // index of its 128-byte directory entry
    uint64_t size = 0;
    bool in_mini_stream = false;
    std::vector<uint32_t> sectors;   // regular or mini sectors, in chain order
  };

  uint32_t sector_size = 512;
  std::vector<uint32_t> fat_sectors;
  std::vector<uint32_t> difat_sectors;
  std::vector<uint32_t> directory_sectors;
  std::vector<uint32_t> mini_fat_sectors;
  std::vector<uint32_t> mini_stream_sectors;  // the root entry's chain
  std::vector<Stream> streams;                // in AddStream order

  // Byte offset of a regular sector in the file.
  size_t SectorOffset(uint32_t sector) const { return size_t{sector + 1} * sector_size; }
  // Byte offset of the FAT entry that says which sector follows `sector`.
  size_t FatEntryOffset(uint32_t sector) const;
  // Byte offset of a directory entry (0 is the root entry).
  size_t DirectoryEntryOffset(uint32_t entry) const;
  // Byte offset of a mini sector's data in the file.
  size_t MiniSectorOffset(uint32_t mini_sector) const;
  // Byte offset of the mini FAT entry of a mini sector.
  size_t MiniFatEntryOffset(uint32_t mini_sector) const;
  // The stream of that name; throws std::out_of_range when there is none.
  const Stream& StreamNamed(const std::string& name) const;
};

class CompoundFileBuilder {
 public:
  explicit CompoundFileBuilder(CfbVersion version = CfbVersion::k3);

  // Adds a stream to the root storage. The name is UTF-8, at most 31
  // UTF-16 code units, unique ignoring ASCII case; throws std::invalid_argument
  // otherwise.
  CompoundFileBuilder& AddStream(std::string name, std::vector<uint8_t> bytes);

  // Writes at least this many FAT sectors (the extra entries are free), so
  // that a small file can still need DIFAT sectors.
  CompoundFileBuilder& SetMinimumFatSectors(uint32_t count);

  // The file's bytes; fills *layout when given.
  std::vector<uint8_t> Build(CompoundFileLayout* layout = nullptr) const;

  CfbVersion version() const { return version_; }
  uint32_t sector_size() const { return version_ == CfbVersion::k3 ? 512 : 4096; }

 private:
  struct PendingStream {
    std::string name;
    std::u16string utf16_name;
    std::vector<uint8_t> bytes;
  };

  CfbVersion version_;
  uint32_t minimum_fat_sectors_ = 0;
  std::vector<PendingStream> streams_;
};

}  // namespace dravella::testing
