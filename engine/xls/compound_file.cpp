#include "engine/xls/compound_file.h"

#include <algorithm>
#include <cstring>
#include <array>
#include <string>

namespace dravella::engine::xls {
namespace {

constexpr std::array<uint8_t, 8> kSignature = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr size_t kHeaderSize = 512;
constexpr size_t kHeaderDifatEntries = 109;
constexpr size_t kDirectoryEntrySize = 128;

// Sector numbers above this one are markers, not sectors.
constexpr uint32_t kMaxRegularSector = 0xFFFFFFFA;
constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr uint32_t kFreeSector = 0xFFFFFFFF;
constexpr uint32_t kNoStream = 0xFFFFFFFF;

constexpr uint8_t kTypeStream = 2;

bool IsRegular(uint32_t sector) { return sector <= kMaxRegularSector; }

const char* OwnerName(SectorOwner owner) {
  switch (owner) {
    case SectorOwner::kNone: return "nothing";
    case SectorOwner::kDifat: return "sector allocation list (DIFAT)";
    case SectorOwner::kFat: return "allocation table (FAT)";
    case SectorOwner::kDirectory: return "directory";
    case SectorOwner::kMiniFat: return "mini allocation table";
    case SectorOwner::kMiniStream: return "mini stream";
    case SectorOwner::kStream: return "stream";
  }
  return "?";
}

char16_t UpperAscii(char16_t c) { return (c >= u'a' && c <= u'z') ? c - (u'a' - u'A') : c; }

bool SameName(const std::u16string& a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (UpperAscii(a[i]) != UpperAscii(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

Status Damaged(std::string what) { return Status::Error(ErrorCode::kDamaged, std::move(what)); }

}  // namespace

bool CompoundFile::HasSignature(Bytes file) {
  return file.size() >= kSignature.size() && std::equal(kSignature.begin(), kSignature.end(), file.begin());
}

Result<CompoundFile> CompoundFile::Parse(const ByteSource& file) {
  CompoundFile cf(file);
  if (Status s = cf.ReadHeader(); !s.ok()) return s;
  if (Status s = cf.ReadDifatAndFat(); !s.ok()) return s;
  if (Status s = cf.ReadDirectory(); !s.ok()) return s;
  return cf;
}

Status CompoundFile::ReadHeader() {
  Result<std::vector<uint8_t>> header = file_->Prefix(kHeaderSize);
  if (!header.ok()) return header.status();
  header_ = std::move(header).value();
  if (!HasSignature(header_)) {
    return Status::Error(ErrorCode::kNotAWorkbook, "it does not begin with the compound-file signature");
  }
  if (header_.size() < kHeaderSize) {
    return Status::Error(ErrorCode::kTruncated,
                         "the compound-file header is cut short after " + std::to_string(header_.size()) + " bytes");
  }
  uint16_t sector_shift = 0;
  uint16_t mini_shift = 0;
  ReadU16(header_, 0x1A, &major_version_);
  ReadU16(header_, 0x1E, &sector_shift);
  ReadU16(header_, 0x20, &mini_shift);
  ReadU32(header_, 0x2C, &declared_fat_sectors_);
  ReadU32(header_, 0x30, &first_directory_sector_);
  ReadU32(header_, 0x38, &mini_cutoff_);
  ReadU32(header_, 0x3C, &first_mini_fat_sector_);
  ReadU32(header_, 0x40, &mini_fat_sector_count_);
  ReadU32(header_, 0x44, &first_difat_sector_);
  ReadU32(header_, 0x48, &difat_sector_count_);

  // Only 512 and 4096 are allowed; writers that put nonsense here have been
  // seen to mean 512 (as other readers assume too).
  if (sector_shift < 7 || sector_shift > 16) sector_shift = 9;
  if (mini_shift < 2 || mini_shift > sector_shift) mini_shift = 6;
  sector_size_ = size_t{1} << sector_shift;
  mini_sector_size_ = size_t{1} << mini_shift;
  first_sector_offset_ = std::max(kHeaderSize, sector_size_);
  const uint64_t data = file_size_ > first_sector_offset_ ? file_size_ - first_sector_offset_ : 0;
  // A short final sector still counts: its missing tail reads as absent.
  sector_count_ = static_cast<uint32_t>(std::min<uint64_t>((data + sector_size_ - 1) / sector_size_,
                                                         kMaxRegularSector));
  table_marks_.assign(sector_count_, Owner::kNone);
  return Status::Ok();
}

Status CompoundFile::ReadSector(uint32_t s, std::vector<uint8_t>& out) const {
  const uint64_t offset = first_sector_offset_ + uint64_t{s} * sector_size_;
  out.resize(offset >= file_size_ ? 0 : static_cast<size_t>(std::min<uint64_t>(sector_size_, file_size_ - offset)));
  if (out.empty()) return file_->ReadAt(offset, out);
  // The allocation table's sectors mostly lie side by side: once two are
  // asked for in a row, one read brings the next ones too, instead of a
  // read per sector. Scattered sectors are read one by one.
  constexpr size_t kReadAhead = 32 * 1024;
  const bool in_line = offset == next_offset_;
  next_offset_ = offset + out.size();
  if (offset >= ahead_offset_ && offset + out.size() <= ahead_offset_ + ahead_.size()) {
    std::memcpy(out.data(), ahead_.data() + (offset - ahead_offset_), out.size());
    return Status::Ok();
  }
  if (!in_line) return file_->ReadAt(offset, out);
  ahead_.resize(static_cast<size_t>(std::min<uint64_t>(kReadAhead, file_size_ - offset)));
  if (Status st = file_->ReadAt(offset, ahead_); !st.ok()) {
    ahead_.clear();  // the bytes beyond this sector may be what failed
    return file_->ReadAt(offset, out);
  }
  ahead_offset_ = offset;
  std::memcpy(out.data(), ahead_.data(), out.size());
  return Status::Ok();
}

Status CompoundFile::BadSector(uint32_t sector, std::string_view where) const {
  // A number past the end of the file that the allocation table could
  // describe is what a cut-off file shows; a larger one is damage.
  const uint64_t describable = std::max<uint64_t>(listed_fat_entries_, uint64_t{declared_fat_sectors_} * (sector_size_ / 4));
  const bool cut_off = sector >= sector_count_ && sector < describable;
  std::string what = std::string(where) + " refers to sector " + std::to_string(sector) + " but the file holds " +
                     std::to_string(sector_count_) + " sectors";
  return Status::Error(cut_off ? ErrorCode::kTruncated : ErrorCode::kDamaged, std::move(what));
}

Status CompoundFile::Mark(uint32_t sector, Owner owner, std::vector<Owner>& marks) const {
  Owner& mark = marks[sector];
  if (mark == Owner::kNone) {
    mark = owner;
    return Status::Ok();
  }
  if (mark == owner) {
    return Damaged(std::string("the ") + OwnerName(owner) + "'s sector chain visits sector " +
                   std::to_string(sector) + " twice");
  }
  return Damaged("sector " + std::to_string(sector) + " belongs to both the " +
                 OwnerName(mark) + " and the " + OwnerName(owner));
}

Status CompoundFile::ReadDifatAndFat() {
  std::vector<uint32_t> fat_sectors;
  for (size_t i = 0; i < kHeaderDifatEntries; ++i) {
    uint32_t s = 0;
    ReadU32(header_, 0x4C + 4 * i, &s);
    fat_sectors.push_back(s);
  }

  // Writers without a DIFAT chain leave its start at "end", "free" or 0.
  const bool has_chain = !(difat_sector_count_ == 0 &&
                           (first_difat_sector_ == kEndOfChain || first_difat_sector_ == kFreeSector ||
                            first_difat_sector_ == 0));
  const size_t per_sector = sector_size_ / 4 - 1;  // the last entry links to the next DIFAT sector
  std::vector<uint8_t> sector;
  for (uint32_t s = first_difat_sector_; has_chain && IsRegular(s);) {
    if (s >= sector_count_) return BadSector(s, "the sector allocation list (DIFAT)");
    if (Status st = Mark(s, Owner::kDifat, table_marks_); !st.ok()) return st;
    if (Status st = ReadSector(s, sector); !st.ok()) return st;
    for (size_t i = 0; i < per_sector; ++i) {
      uint32_t entry = kFreeSector;
      ReadU32(sector, 4 * i, &entry);
      fat_sectors.push_back(entry);
    }
    s = kEndOfChain;
    ReadU32(sector, 4 * per_sector, &s);
  }

  // The DIFAT may be padded with free entries anywhere; FAT sectors beyond
  // the end of a cut-off file leave their entries free, so chains through
  // them fail instead of silently shifting the table. Entries for sectors
  // the file cannot hold are never needed, so the table stops there: a small
  // file listing many FAT sectors cannot make it large.
  while (!fat_sectors.empty() && !IsRegular(fat_sectors.back())) fat_sectors.pop_back();
  const size_t per_fat_sector = sector_size_ / 4;
  for (uint32_t s : fat_sectors) {
    if (!IsRegular(s)) continue;
    listed_fat_entries_ += per_fat_sector;
    if (fat_.size() >= sector_count_) continue;
    const size_t base = fat_.size();
    fat_.resize(base + per_fat_sector, kFreeSector);
    if (s >= sector_count_) continue;
    if (Status st = Mark(s, Owner::kFat, table_marks_); !st.ok()) return st;
    if (Status st = ReadSector(s, sector); !st.ok()) return st;
    for (size_t i = 0; i < per_fat_sector; ++i) ReadU32(sector, 4 * i, &fat_[base + i]);
  }
  if (fat_.empty()) return Damaged("the compound file lists no allocation table (FAT) sector");
  return Status::Ok();
}

Status CompoundFile::ChainRuns(uint32_t start, std::optional<uint64_t> limit, Owner owner,
                               std::vector<Owner>& marks, std::vector<StreamRun>& runs) const {
  const char* where = OwnerName(owner);
  uint64_t wanted = limit.value_or(UINT64_MAX);
  bool last_full = false;
  for (uint32_t s = start; IsRegular(s) && wanted > 0;) {
    if (s >= sector_count_) return BadSector(s, std::string("the ") + where);
    if (Status st = Mark(s, owner, marks); !st.ok()) return st;
    const uint64_t offset = first_sector_offset_ + uint64_t{s} * sector_size_;
    const uint64_t in_file = offset >= file_size_ ? 0 : std::min<uint64_t>(sector_size_, file_size_ - offset);
    const size_t take = static_cast<size_t>(std::min<uint64_t>(in_file, wanted));
    if (take > 0) {
      if (last_full && runs.back().file_offset + runs.back().length == offset) {
        runs.back().length += take;
      } else {
        runs.push_back(StreamRun{offset, take});
      }
    }
    last_full = take == sector_size_;
    wanted -= limit ? take : 0;
    if (wanted == 0) break;
    if (s >= fat_.size()) {
      return Damaged(std::string("the ") + where + " continues at sector " + std::to_string(s) +
                     ", which the allocation table does not describe");
    }
    s = fat_[s];
  }
  return Status::Ok();
}

Status CompoundFile::ReadChain(uint32_t start, std::optional<uint64_t> limit, Owner owner,
                               std::vector<Owner>& marks, std::vector<uint8_t>& out) const {
  // First the chain is followed and checked, gathering runs of adjacent
  // sectors; then each run is read with one call straight into out.
  std::vector<StreamRun> runs;
  if (Status st = ChainRuns(start, limit, owner, marks, runs); !st.ok()) return st;
  size_t total = 0;
  for (const StreamRun& run : runs) total += run.length;
  size_t at = out.size();
  out.resize(at + total);
  for (const StreamRun& run : runs) {
    if (Status st = file_->ReadAt(run.file_offset, std::span<uint8_t>(out.data() + at, run.length)); !st.ok()) {
      return st;
    }
    at += run.length;
  }
  return Status::Ok();
}

Status CompoundFile::ReadDirectory() {
  std::vector<uint8_t> bytes;
  if (Status s = ReadChain(first_directory_sector_, std::nullopt, Owner::kDirectory, table_marks_, bytes);
      !s.ok()) {
    return s;
  }
  const Bytes data(bytes);
  for (size_t offset = 0; offset + kDirectoryEntrySize <= data.size(); offset += kDirectoryEntrySize) {
    const Bytes raw = data.subspan(offset, kDirectoryEntrySize);
    DirectoryEntry entry;
    uint16_t name_bytes = 0;
    ReadU16(raw, 64, &name_bytes);
    // The length counts the terminating zero; some writers get it wrong, so
    // the name also ends at its first zero character.
    const size_t chars = std::min<size_t>(name_bytes / 2, 32);
    for (size_t i = 0; i < chars; ++i) {
      uint16_t c = 0;
      ReadU16(raw, 2 * i, &c);
      if (c == 0) break;
      entry.name.push_back(static_cast<char16_t>(c));
    }
    ReadU8(raw, 66, &entry.type);
    ReadU32(raw, 68, &entry.left);
    ReadU32(raw, 72, &entry.right);
    ReadU32(raw, 76, &entry.child);
    ReadU32(raw, 116, &entry.start);
    ReadU64(raw, 120, &entry.size);
    // Version 3 files have a 32-bit size; the high half may hold garbage.
    if (major_version_ < 4) entry.size &= 0xFFFFFFFFu;
    directory_.push_back(std::move(entry));
  }
  if (directory_.empty()) return Damaged("the compound file's directory is empty");
  return Status::Ok();
}

std::vector<uint32_t> CompoundFile::RootChildren(bool* tree_damaged) const {
  // The children of a storage form a tree through the left and right links.
  std::vector<uint32_t> children;
  std::vector<bool> seen(directory_.size(), false);
  std::vector<uint32_t> pending = {directory_[0].child};
  *tree_damaged = false;
  while (!pending.empty()) {
    const uint32_t id = pending.back();
    pending.pop_back();
    if (id == kNoStream) continue;
    if (id >= directory_.size() || seen[id]) {
      *tree_damaged = true;
      continue;
    }
    seen[id] = true;
    children.push_back(id);
    pending.push_back(directory_[id].left);
    pending.push_back(directory_[id].right);
  }
  return children;
}

std::optional<uint32_t> CompoundFile::FindStream(std::string_view name) const {
  bool tree_damaged = false;
  for (uint32_t id : RootChildren(&tree_damaged)) {
    if (directory_[id].type == kTypeStream && SameName(directory_[id].name, name)) return id;
  }
  // With a broken tree, any stream of that name is the best guess there is.
  if (tree_damaged) {
    for (uint32_t id = 1; id < directory_.size(); ++id) {
      if (directory_[id].type == kTypeStream && SameName(directory_[id].name, name)) return id;
    }
  }
  return std::nullopt;
}

Status CompoundFile::ReadMiniFat(std::vector<Owner>& marks, std::vector<uint32_t>& mini_fat) const {
  std::vector<uint8_t> bytes;
  // The header's sector count bounds the chain; the marks stop any loop.
  const uint64_t limit = uint64_t{mini_fat_sector_count_} * sector_size_;
  if (Status s = ReadChain(first_mini_fat_sector_, limit, Owner::kMiniFat, marks, bytes); !s.ok()) return s;
  mini_fat.resize(bytes.size() / 4);
  for (size_t i = 0; i < mini_fat.size(); ++i) ReadU32(bytes, 4 * i, &mini_fat[i]);
  return Status::Ok();
}

Status CompoundFile::ReadMiniChain(uint32_t start, uint64_t size, const std::vector<uint32_t>& mini_fat,
                                   Bytes mini_stream, std::vector<uint8_t>& out) const {
  std::vector<bool> seen(mini_fat.size(), false);
  uint64_t wanted = size;
  for (uint32_t m = start; IsRegular(m) && wanted > 0;) {
    if (m >= mini_fat.size()) {
      return Damaged("a stream continues at mini sector " + std::to_string(m) + ", which the mini allocation table (" +
                     std::to_string(mini_fat.size()) + " entries) does not describe");
    }
    if (seen[m]) return Damaged("a stream's mini sector chain visits mini sector " + std::to_string(m) + " twice");
    seen[m] = true;
    const size_t offset = size_t{m} * mini_sector_size_;
    if (offset >= mini_stream.size()) {
      return Status::Error(ErrorCode::kTruncated, "mini sector " + std::to_string(m) +
                                                      " lies beyond the end of the mini stream");
    }
    const size_t take = static_cast<size_t>(
        std::min<uint64_t>({mini_sector_size_, wanted, mini_stream.size() - offset}));
    out.insert(out.end(), mini_stream.begin() + offset, mini_stream.begin() + offset + take);
    wanted -= take;
    m = mini_fat[m];
  }
  return Status::Ok();
}

Result<std::optional<std::vector<StreamRun>>> CompoundFile::StreamRuns(uint32_t entry) const {
  if (entry >= directory_.size()) return Damaged("no directory entry " + std::to_string(entry));
  const DirectoryEntry& e = directory_[entry];
  const uint64_t size = std::min<uint64_t>(e.size, file_size_);
  if (size < mini_cutoff_) return std::optional<std::vector<StreamRun>>();
  std::vector<StreamRun> runs;
  std::vector<Owner> marks = table_marks_;
  if (Status s = ChainRuns(e.start, size, Owner::kStream, marks, runs); !s.ok()) return s;
  return std::optional<std::vector<StreamRun>>(std::move(runs));
}

Result<std::vector<uint8_t>> CompoundFile::ReadStream(uint32_t entry) const {
  if (entry >= directory_.size()) return Damaged("no directory entry " + std::to_string(entry));
  const DirectoryEntry& e = directory_[entry];
  // Never reserve for a size the file cannot hold.
  const uint64_t size = std::min<uint64_t>(e.size, file_size_);
  std::vector<uint8_t> bytes;
  std::vector<Owner> marks = table_marks_;
  if (size >= mini_cutoff_) {
    if (Status s = ReadChain(e.start, size, Owner::kStream, marks, bytes); !s.ok()) return s;
    return bytes;
  }
  if (size == 0) return bytes;

  std::vector<uint32_t> mini_fat;
  if (Status s = ReadMiniFat(marks, mini_fat); !s.ok()) return s;
  const DirectoryEntry& root = directory_[0];
  std::vector<uint8_t> mini_stream;
  const uint64_t mini_size = std::min<uint64_t>(root.size, file_size_);
  if (Status s = ReadChain(root.start, mini_size, Owner::kMiniStream, marks, mini_stream); !s.ok()) return s;
  if (Status s = ReadMiniChain(e.start, size, mini_fat, mini_stream, bytes); !s.ok()) return s;
  return bytes;
}

}  // namespace dravella::engine::xls
