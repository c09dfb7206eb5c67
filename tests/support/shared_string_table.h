// The BIFF8 shared string table: the SST record with its CONTINUE records,
// and the EXTSST index after it.
//
// A string may be cut between its characters only: its header (length,
// option flags, run count, phonetic size) stays in one record together with
// at least its first character, and each CONTINUE that goes on with the
// characters begins with the option byte again. Formatting runs are never
// cut; phonetic bytes may be.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "tests/support/biff_writer.h"

namespace dravella::testing {

struct SharedString;
struct FormattingRun;

class SharedStringTable {
 public:
  struct Entry {
    std::u16string text;
    std::vector<uint8_t> runs;  // 4 bytes per run
    std::vector<uint8_t> phonetic;
  };

  // Appends an entry; returns its index.
  uint32_t Add(const SharedString& entry);
  // The index of an equal plain entry, added when there is none yet.
  uint32_t Intern(std::string_view utf8);
  // One more LABELSST cell refers to the table (SST's total count).
  void CountReference() { ++references_; }

  void SetCounts(uint32_t total, uint32_t unique) { counts_override_ = {{total, unique}}; }
  void SetRecompressContinuations(bool on) { recompress_ = on; }
  void OmitExtSst() { omit_extsst_ = true; }

  size_t size() const { return entries_.size(); }
  const Entry& entry(size_t index) const { return entries_[index]; }

  // Appends SST (and EXTSST unless omitted); reports their header offsets.
  void WriteTo(BiffWriter& out, size_t max_payload, size_t* sst_offset, std::optional<size_t>* extsst_offset) const;

 private:
  std::vector<Entry> entries_;
  std::unordered_map<std::string, uint32_t> plain_index_;
  uint32_t references_ = 0;
  std::optional<std::pair<uint32_t, uint32_t>> counts_override_;
  bool recompress_ = false;
  bool omit_extsst_ = false;
};

}  // namespace dravella::testing
