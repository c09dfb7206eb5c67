#include "engine/dbf/memo_file.h"

#include <algorithm>
#include <array>
#include <string>

#include "engine/dbf/little_endian.h"

namespace dravella::engine::dbf {
namespace {

constexpr char kDbase3EndByte = 0x1A;
constexpr uint8_t kDbase3EndMark[2] = {0x1A, 0x1A};
constexpr uint8_t kDbase4TextMark[4] = {0xFF, 0xFF, 0x08, 0x00};
constexpr size_t kDbase4TextHeader = 8;
constexpr std::array<uint8_t, kMemoBlockSize> kZeroBlock{};

size_t FramingBytes(DbfLevel level) {
  return level == DbfLevel::kDbase4 ? kDbase4TextHeader : sizeof kDbase3EndMark;
}

}  // namespace

uint64_t MemoBlocksFor(DbfLevel level, size_t text_bytes) {
  const uint64_t used = uint64_t{text_bytes} + FramingBytes(level);
  return (used + kMemoBlockSize - 1) / kMemoBlockSize;
}

MemoWriter::MemoWriter(DbfLevel level, StagedFile& file) : level_(level), file_(file) {
  std::array<uint8_t, kMemoBlockSize> header{};
  if (level_ == DbfLevel::kDbase4) {
    StoreLittleEndian16(&header[20], kMemoBlockSize);
  } else {
    header[16] = 0x03;
  }
  file_.Write(header.data(), header.size());
}

uint32_t MemoWriter::Append(std::string_view bytes) {
  const uint32_t block = next_block_;
  if (level_ == DbfLevel::kDbase4) {
    uint8_t head[kDbase4TextHeader];
    std::copy(kDbase4TextMark, kDbase4TextMark + 4, head);
    StoreLittleEndian32(head + 4, static_cast<uint32_t>(bytes.size() + kDbase4TextHeader));
    file_.Write(head, sizeof head);
    file_.Write(bytes.data(), bytes.size());
  } else {
    // A 0x1A inside the text would end it early for every reader.
    if (bytes.find(kDbase3EndByte) != std::string_view::npos) {
      std::string safe(bytes);
      std::replace(safe.begin(), safe.end(), kDbase3EndByte, '?');
      file_.Write(safe.data(), safe.size());
    } else {
      file_.Write(bytes.data(), bytes.size());
    }
    file_.Write(kDbase3EndMark, sizeof kDbase3EndMark);
  }
  PadToBlock(bytes.size() + FramingBytes(level_));
  next_block_ += static_cast<uint32_t>(MemoBlocksFor(level_, bytes.size()));
  return block;
}

void MemoWriter::PadToBlock(uint64_t bytes_used) {
  const size_t rest = bytes_used % kMemoBlockSize;
  if (rest != 0) file_.Write(kZeroBlock.data(), kMemoBlockSize - rest);
}

void MemoWriter::Finish() {
  uint8_t next[4];
  StoreLittleEndian32(next, next_block_);
  file_.Overwrite(0, next, sizeof next);
}

}  // namespace dravella::engine::dbf
