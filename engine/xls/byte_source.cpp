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

}  // namespace dravella::engine::xls
