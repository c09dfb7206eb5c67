#include "tests/support/shared_string_table.h"

#include <algorithm>

#include "tests/support/biff_record_ids.h"
#include "tests/support/byte_writer.h"
#include "tests/support/text_encoding.h"
#include "tests/support/workbook_builder.h"

namespace dravella::testing {
namespace {

constexpr uint8_t kWide = 0x01;
constexpr uint8_t kHasPhonetic = 0x04;
constexpr uint8_t kHasRuns = 0x08;
constexpr uint32_t kStringsPerBucketMin = 8;
constexpr uint32_t kMaxBuckets = 128;

}  // namespace

uint32_t SharedStringTable::Add(const SharedString& source) {
  Entry entry;
  entry.text = Utf8ToUtf16(source.text);
  ByteWriter runs;
  for (const FormattingRun& run : source.runs) runs.U16(run.first_char).U16(run.font);
  entry.runs = runs.Take();
  entry.phonetic = source.phonetic;
  entries_.push_back(std::move(entry));
  return static_cast<uint32_t>(entries_.size() - 1);
}

uint32_t SharedStringTable::Intern(std::string_view utf8) {
  auto found = plain_index_.find(std::string(utf8));
  if (found != plain_index_.end()) return found->second;
  const uint32_t index = Add(SharedString{std::string(utf8), {}, {}});
  plain_index_.emplace(std::string(utf8), index);
  return index;
}

void SharedStringTable::WriteTo(BiffWriter& out, size_t max_payload, size_t* sst_offset,
                                std::optional<size_t>* extsst_offset) const {
  ContinuedRecord sst(record::kSst, max_payload);
  const uint32_t unique = static_cast<uint32_t>(entries_.size());
  const auto [total, unique_field] = counts_override_.value_or(std::pair{std::max(references_, unique), unique});
  ByteWriter counts;
  counts.U32(total).U32(unique_field);
  sst.Atomic(counts.bytes());

  std::vector<ContinuedRecord::Position> starts;
  starts.reserve(entries_.size());
  for (const Entry& entry : entries_) {
    const bool wide = !FitsInLatin1(entry.text);
    const size_t run_count = entry.runs.size() / 4;
    ByteWriter header;
    header.U16(static_cast<uint16_t>(entry.text.size()));
    header.U8(static_cast<uint8_t>((wide ? kWide : 0) | (run_count ? kHasRuns : 0) |
                                   (entry.phonetic.empty() ? 0 : kHasPhonetic)));
    if (run_count) header.U16(static_cast<uint16_t>(run_count));
    if (!entry.phonetic.empty()) header.U32(static_cast<uint32_t>(entry.phonetic.size()));
    // The header and the first character share a record.
    sst.Reserve(header.size() + (entry.text.empty() ? 0 : (wide ? 2 : 1)));
    starts.push_back(sst.position());
    sst.Atomic(header.bytes());
    sst.Characters(entry.text, wide, recompress_);
    for (size_t r = 0; r < run_count; ++r) {
      sst.Atomic(std::span<const uint8_t>(entry.runs).subspan(r * 4, 4));
    }
    sst.Splittable(entry.phonetic);
  }
  const std::vector<size_t> part_offsets = sst.WriteTo(out);
  *sst_offset = part_offsets.front();
  if (omit_extsst_) return;

  // EXTSST: for every bucket of strings, where its first string begins in
  // the stream and within its record (the record header counted).
  const uint32_t per_bucket =
      std::max(kStringsPerBucketMin, (unique + kMaxBuckets - 1) / kMaxBuckets);
  ByteWriter extsst;
  extsst.U16(static_cast<uint16_t>(per_bucket));
  for (size_t i = 0; i < starts.size(); i += per_bucket) {
    const size_t in_record = 4 + starts[i].offset;
    extsst.U32(static_cast<uint32_t>(part_offsets[starts[i].part] + in_record));
    extsst.U16(static_cast<uint16_t>(in_record));
    extsst.U16(0);
  }
  *extsst_offset = out.size();
  out.Append(record::kExtSst, extsst.bytes());
}

std::vector<uint8_t> PhoneticBlock(std::u16string_view reading, uint16_t text_length) {
  ByteWriter rest;
  rest.U16(0).U16(0);                                       // Phs: font 0, katakana, left-aligned
  rest.U16(1).U16(static_cast<uint16_t>(reading.size()));   // one run, reading length
  rest.U16(static_cast<uint16_t>(reading.size())).Utf16(reading);
  rest.U16(0).U16(0).U16(text_length);                      // the run covers the whole text
  ByteWriter block;
  block.U16(1).U16(static_cast<uint16_t>(rest.size())).Bytes(rest.bytes());
  return block.Take();
}

}  // namespace dravella::testing
