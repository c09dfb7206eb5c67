// A reader of compound files, the container of .xls workbooks since Excel 5:
// it knows sectors, the allocation tables and the directory, and hands out a
// stream's bytes by name. It knows nothing of the records inside the streams.
//
//   header (512 bytes)  signature D0 CF 11 E0 A1 B1 1A E1, versions, sector
//                       sizes, table starts, the first 109 DIFAT entries
//   sector s            at max(512, sector size) + s * sector size
//   DIFAT               lists the FAT sectors (header, then a sector chain)
//   FAT                 one 32-bit "next sector" entry per sector
//   directory           128-byte entries: name, type, tree links, start, size
//   mini FAT / stream   streams below the cutoff (4096) live in 64-byte mini
//                       sectors inside the root entry's stream
//
// Every sector the reader visits is marked, so a chain that loops or a sector
// claimed twice is reported as damage, never followed forever.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/status.h"
#include "engine/xls/byte_reader.h"
#include "engine/xls/byte_source.h"

namespace dravella::engine::xls {

// Who owns a sector, for the visited marks and the messages about them.
enum class SectorOwner : uint8_t { kNone, kDifat, kFat, kDirectory, kMiniFat, kMiniStream, kStream };

class CompoundFile {
 public:
  // True when the bytes begin with the compound-file signature.
  static bool HasSignature(Bytes file);

  // Reads the header, the allocation tables and the directory. The source
  // must outlive the returned object; streams are read from it when asked for.
  static Result<CompoundFile> Parse(const ByteSource& file);
  static Result<CompoundFile> Parse(const ByteSource&& file) = delete;

  // The directory index of the stream with this name among the root
  // storage's children (names compare without regard to ASCII case).
  std::optional<uint32_t> FindStream(std::string_view name) const;

  // A stream's bytes. A chain shorter than the recorded size gives the bytes
  // it holds (real files have such chains); one that leaves the file, loops
  // or shares a sector with the tables is an error. The bytes are read from
  // the source straight into the result, a run of adjacent sectors at a time.
  Result<std::vector<uint8_t>> ReadStream(uint32_t entry) const;

  // Where the bytes of a stream in regular sectors lie in the file, checked
  // as ReadStream checks them, for reading it piece by piece later; nullopt
  // for a stream small enough to live in the mini stream (read those whole).
  Result<std::optional<std::vector<StreamRun>>> StreamRuns(uint32_t entry) const;

  size_t sector_size() const { return sector_size_; }
  size_t directory_size() const { return directory_.size(); }
  size_t fat_size() const { return fat_.size(); }

 private:
  struct DirectoryEntry {
    std::u16string name;
    uint8_t type = 0;  // 0 unused, 1 storage, 2 stream, 5 root
    uint32_t left = 0, right = 0, child = 0;
    uint32_t start = 0;
    uint64_t size = 0;
  };

  using Owner = SectorOwner;

  explicit CompoundFile(const ByteSource& file) : file_(&file), file_size_(file.size()) {}

  Status ReadHeader();
  Status ReadDifatAndFat();
  Status ReadDirectory();
  Status ReadMiniFat(std::vector<Owner>& marks, std::vector<uint32_t>& mini_fat) const;

  // Follows a chain of regular sectors from start, marking each in marks;
  // collects at most limit bytes (all of the chain when limit is unset).
  Status ReadChain(uint32_t start, std::optional<uint64_t> limit, Owner owner,
                   std::vector<Owner>& marks, std::vector<uint8_t>& out) const;
  Status ChainRuns(uint32_t start, std::optional<uint64_t> limit, Owner owner, std::vector<Owner>& marks,
                   std::vector<StreamRun>& runs) const;
  Status ReadMiniChain(uint32_t start, uint64_t size, const std::vector<uint32_t>& mini_fat,
                       Bytes mini_stream, std::vector<uint8_t>& out) const;

  // The bytes of sector s that lie within the file (a final sector may be short).
  Status ReadSector(uint32_t s, std::vector<uint8_t>& out) const;
  Status Mark(uint32_t sector, Owner owner, std::vector<Owner>& marks) const;
  Status BadSector(uint32_t sector, std::string_view where) const;
  std::vector<uint32_t> RootChildren(bool* tree_damaged) const;

  const ByteSource* file_;
  uint64_t file_size_ = 0;
  std::vector<uint8_t> header_;
  uint16_t major_version_ = 3;
  size_t sector_size_ = 512;
  size_t mini_sector_size_ = 64;
  size_t first_sector_offset_ = 512;
  uint32_t sector_count_ = 0;
  uint32_t mini_cutoff_ = 4096;
  uint32_t first_directory_sector_ = 0;
  uint32_t first_mini_fat_sector_ = 0;
  uint32_t mini_fat_sector_count_ = 0;
  uint32_t first_difat_sector_ = 0;
  uint32_t difat_sector_count_ = 0;
  // The header's FAT sector count and the entries the DIFAT lists, used only
  // to tell a cut-off file from damage.
  uint32_t declared_fat_sectors_ = 0;
  uint64_t listed_fat_entries_ = 0;
  std::vector<uint32_t> fat_;
  std::vector<Owner> table_marks_;  // sectors of the DIFAT, FAT and directory
  std::vector<DirectoryEntry> directory_;
  // Sectors read ahead of need, at file offset ahead_offset_; next_offset_
  // is where the last sector read ended.
  mutable std::vector<uint8_t> ahead_;
  mutable uint64_t ahead_offset_ = 0;
  mutable uint64_t next_offset_ = UINT64_MAX;
};

}  // namespace dravella::engine::xls
