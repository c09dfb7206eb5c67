#include "engine/xls/byte_source.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace dravella::engine::xls {

Result<std::vector<uint8_t>> ByteSource::Prefix(size_t count) const {
  std::vector<uint8_t> bytes(static_cast<size_t>(std::min<uint64_t>(count, size())));
  if (Status s = ReadAt(0, bytes); !s.ok()) return s;
  return bytes;
}

Status MemorySource::ReadAt(uint64_t offset, std::span<uint8_t> out) const {
  if (offset > bytes_.size() || out.size() > bytes_.size() - offset) {
    return Status::Error(ErrorCode::kTruncated, "a read at offset " + std::to_string(offset) +
                                                    " goes past the end (" + std::to_string(bytes_.size()) +
                                                    " bytes)");
  }
  if (!out.empty()) std::memcpy(out.data(), bytes_.data() + offset, out.size());
  return Status::Ok();
}

PiecewiseSource::PiecewiseSource(const ByteSource& file, std::vector<StreamRun> runs)
    : file_(&file), runs_(std::move(runs)) {
  starts_.reserve(runs_.size());
  for (const StreamRun& run : runs_) {
    starts_.push_back(size_);
    size_ += run.length;
  }
}

Status PiecewiseSource::ReadAt(uint64_t offset, std::span<uint8_t> out) const {
  if (offset > size_ || out.size() > size_ - offset) {
    return Status::Error(ErrorCode::kTruncated, "a read at offset " + std::to_string(offset) +
                                                    " goes past the end of the stream");
  }
  // The run holding offset, then as many after it as the read spans.
  size_t i = static_cast<size_t>(std::upper_bound(starts_.begin(), starts_.end(), offset) - starts_.begin()) - 1;
  size_t done = 0;
  while (done < out.size()) {
    const uint64_t within = offset + done - starts_[i];
    const size_t take = static_cast<size_t>(std::min<uint64_t>(runs_[i].length - within, out.size() - done));
    if (Status s = file_->ReadAt(runs_[i].file_offset + within, out.subspan(done, take)); !s.ok()) return s;
    done += take;
    ++i;
  }
  return Status::Ok();
}

}  // namespace dravella::engine::xls
