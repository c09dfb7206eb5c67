// Small readers written from the format descriptions, apart from the
// builder, so the builder's output is checked against the formats rather
// than against itself.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace dravella::testing::selftest {

inline uint16_t Le16(std::span<const uint8_t> b, size_t at) {
  if (at + 2 > b.size()) throw std::out_of_range("read past the end");
  return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}
inline uint32_t Le32(std::span<const uint8_t> b, size_t at) {
  if (at + 4 > b.size()) throw std::out_of_range("read past the end");
  return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8 |
         static_cast<uint32_t>(b[at + 2]) << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

struct RawRecord {
  uint16_t id;
  size_t offset;  // of the 4-byte header
  std::vector<uint8_t> payload;
};

// Every record of a BIFF stream, stopping at trailing zero padding.
inline std::vector<RawRecord> SplitRecords(std::span<const uint8_t> stream) {
  std::vector<RawRecord> records;
  size_t at = 0;
  while (at + 4 <= stream.size()) {
    const uint16_t id = Le16(stream, at);
    const uint16_t length = Le16(stream, at + 2);
    if (id == 0 && length == 0 && !records.empty()) break;  // padding
    if (at + 4 + length > stream.size()) throw std::runtime_error("record runs past the stream");
    records.push_back({id, at, {stream.begin() + at + 4, stream.begin() + at + 4 + length}});
    at += 4 + length;
  }
  return records;
}

// A compound file read the way the format describes it: header, DIFAT,
// FAT, directory, mini stream. Every chain is followed with a visited set.
class CompoundFileReader {
 public:
  explicit CompoundFileReader(std::span<const uint8_t> file) : file_(file) {
    static const uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    for (int i = 0; i < 8; ++i) {
      if (file[i] != kSignature[i]) throw std::runtime_error("no compound file signature");
    }
    sector_size_ = 1u << Le16(file, 30);
    const uint32_t fat_count = Le32(file, 44);
    std::vector<uint32_t> fat_sectors;
    for (uint32_t i = 0; i < 109 && fat_sectors.size() < fat_count; ++i) fat_sectors.push_back(Le32(file, 76 + 4 * i));
    uint32_t difat = Le32(file, 68);
    std::set<uint32_t> seen_difat;
    while (fat_sectors.size() < fat_count) {
      if (!seen_difat.insert(difat).second) throw std::runtime_error("DIFAT loop");
      const size_t base = Offset(difat);
      const uint32_t per = sector_size_ / 4;
      for (uint32_t k = 0; k + 1 < per && fat_sectors.size() < fat_count; ++k) fat_sectors.push_back(Le32(file, base + 4 * k));
      difat = Le32(file, base + 4 * (per - 1));
    }
    for (uint32_t s : fat_sectors) {
      for (uint32_t k = 0; k < sector_size_ / 4; ++k) fat_.push_back(Le32(file, Offset(s) + 4 * k));
    }
    const std::vector<uint8_t> directory = ReadChain(fat_, Le32(file, 48), UINT64_MAX, sector_size_, false);
    for (size_t at = 0; at + 128 <= directory.size(); at += 128) {
      Entry e;
      const uint16_t name_bytes = Le16(directory, at + 64);
      for (size_t k = 0; k + 2 < name_bytes && k < 62; k += 2) e.name.push_back(static_cast<char16_t>(Le16(directory, at + k)));
      e.type = directory[at + 66];
      e.left = Le32(directory, at + 68);
      e.right = Le32(directory, at + 72);
      e.child = Le32(directory, at + 76);
      e.start = Le32(directory, at + 116);
      e.size = Le32(directory, at + 120) | (static_cast<uint64_t>(Le32(directory, at + 124)) << 32);
      entries_.push_back(e);
    }
    const uint32_t mini_fat_start = Le32(file, 60);
    if (mini_fat_start != 0xFFFFFFFE) {
      const std::vector<uint8_t> mini_fat_bytes = ReadChain(fat_, mini_fat_start, UINT64_MAX, sector_size_, false);
      for (size_t at = 0; at + 4 <= mini_fat_bytes.size(); at += 4) mini_fat_.push_back(Le32(mini_fat_bytes, at));
      mini_stream_ = ReadChain(fat_, entries_.at(0).start, entries_.at(0).size, sector_size_, false);
    }
  }

  struct Entry {
    std::u16string name;
    uint8_t type = 0;
    uint32_t left = 0, right = 0, child = 0, start = 0;
    uint64_t size = 0;
  };

  uint32_t sector_size() const { return sector_size_; }
  const std::vector<Entry>& entries() const { return entries_; }

  // The names below the root, by walking its red-black tree in order.
  std::vector<std::u16string> NamesInTreeOrder() const {
    std::vector<std::u16string> names;
    std::set<uint32_t> seen;
    Walk(entries_.at(0).child, names, seen);
    return names;
  }

  std::vector<uint8_t> Stream(const std::u16string& name) const {
    for (const Entry& e : entries_) {
      if (e.type == 2 && e.name == name) {
        if (e.size < 4096) return ReadChain(mini_fat_, e.start, e.size, 64, true);
        return ReadChain(fat_, e.start, e.size, sector_size_, false);
      }
    }
    throw std::runtime_error("no such stream");
  }

 private:
  size_t Offset(uint32_t sector) const {
    const size_t at = (static_cast<size_t>(sector) + 1) * sector_size_;
    if (at + sector_size_ > file_.size()) throw std::runtime_error("sector beyond the file");
    return at;
  }

  std::vector<uint8_t> ReadChain(const std::vector<uint32_t>& table, uint32_t start, uint64_t size,
                                 uint32_t unit, bool mini) const {
    std::vector<uint8_t> out;
    std::set<uint32_t> seen;
    for (uint32_t s = start; s != 0xFFFFFFFE && out.size() < size; s = table.at(s)) {
      if (!seen.insert(s).second) throw std::runtime_error("sector chain loops");
      if (mini) {
        const size_t at = static_cast<size_t>(s) * unit;
        if (at + unit > mini_stream_.size()) throw std::runtime_error("mini sector beyond the mini stream");
        out.insert(out.end(), mini_stream_.begin() + at, mini_stream_.begin() + at + unit);
      } else {
        const size_t at = Offset(s);
        out.insert(out.end(), file_.begin() + at, file_.begin() + at + unit);
      }
    }
    if (size != UINT64_MAX) {
      if (out.size() < size) throw std::runtime_error("chain shorter than the stream");
      out.resize(size);
    }
    return out;
  }

  void Walk(uint32_t id, std::vector<std::u16string>& names, std::set<uint32_t>& seen) const {
    if (id == 0xFFFFFFFF) return;
    if (!seen.insert(id).second) throw std::runtime_error("directory tree loops");
    Walk(entries_.at(id).left, names, seen);
    names.push_back(entries_.at(id).name);
    Walk(entries_.at(id).right, names, seen);
  }

  std::span<const uint8_t> file_;
  uint32_t sector_size_ = 512;
  std::vector<uint32_t> fat_;
  std::vector<uint32_t> mini_fat_;
  std::vector<uint8_t> mini_stream_;
  std::vector<Entry> entries_;
};

}  // namespace dravella::testing::selftest
