// Where a workbook's bytes come from: a buffer in memory (tests, fuzzing) or a
// file read at offsets. The compound-file reader asks for the few bytes it
// needs and reads a stream straight into the stream's own buffer, so a large
// workbook is never copied whole into memory first.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

#include "engine/status.h"
#include "engine/xls/byte_reader.h"

namespace dravella::engine::xls {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // The size the source had when it was opened; reads never go past it.
  virtual uint64_t size() const = 0;
  // Fills out with the bytes at offset. Asking past size() is the caller's
  // error; a source that turns out shorter (a file cut while being read)
  // gives kTruncated, a failing read kFileUnreadable.
  virtual Status ReadAt(uint64_t offset, std::span<uint8_t> out) const = 0;
  // An error when the bytes may no longer be those seen at opening (a file
  // written over in place): reads since then may mix old and new bytes.
  virtual Status CheckUnchanged() const { return Status::Ok(); }
  // The first bytes, at most count of them (for telling what a file is).
  Result<std::vector<uint8_t>> Prefix(size_t count) const;
};

class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(Bytes bytes) : bytes_(bytes) {}
  uint64_t size() const override { return bytes_.size(); }
  Status ReadAt(uint64_t offset, std::span<uint8_t> out) const override;

 private:
  Bytes bytes_;
};

// A piece of a stream that lies in one place of a file (adjacent sectors).
struct StreamRun {
  uint64_t file_offset;
  size_t length;
};

// A stream whose pieces lie scattered in another source, read as one.
class PiecewiseSource final : public ByteSource {
 public:
  PiecewiseSource(const ByteSource& file, std::vector<StreamRun> runs);
  uint64_t size() const override { return size_; }
  Status ReadAt(uint64_t offset, std::span<uint8_t> out) const override;

 private:
  const ByteSource* file_;
  std::vector<StreamRun> runs_;
  std::vector<uint64_t> starts_;  // the stream offset of each run
  uint64_t size_ = 0;
};

// An open file read with positioned reads (no shared file position, no
// memory map: a file cut or replaced while open gives an error or the old
// bytes, never a fault). The platform's half lives in file_source_*.cpp.
class FileSource final : public ByteSource {
 public:
  // Opens for reading; the error's description is the system's reason.
  static Result<std::unique_ptr<FileSource>> Open(const std::filesystem::path& path);
  ~FileSource() override;
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  uint64_t size() const override { return size_; }
  Status ReadAt(uint64_t offset, std::span<uint8_t> out) const override;
  Status CheckUnchanged() const override;

 private:
  FileSource(intptr_t handle, uint64_t size, int64_t modified) : handle_(handle), size_(size), modified_(modified) {}
  intptr_t handle_;
  uint64_t size_;
  int64_t modified_;  // the last change as the system tells it, in its own unit
};

}  // namespace dravella::engine::xls
