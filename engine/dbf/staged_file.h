// A file written under a temporary name in the folder of its final path and
// renamed over that path only by Commit, so that readers never see it half
// written. Dropped before Commit, the temporary file is removed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>

#include "engine/status.h"

namespace dravella::engine::dbf {

class StagedFile {
 public:
  // Creates the temporary file; fails with kWriteFailed naming the final
  // path and the system's reason.
  static Result<StagedFile> Create(const std::filesystem::path& final_path);

  StagedFile(StagedFile&& other) noexcept;
  StagedFile& operator=(StagedFile&& other) noexcept;
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;
  ~StagedFile();

  // Appends bytes. After the first failure nothing more is written and
  // Finish reports it.
  void Write(const void* data, size_t size);
  // Overwrites bytes already written, then goes on appending at the end.
  void Overwrite(uint64_t offset, const void* data, size_t size);

  // Flushes and closes; a failure's description names the final path and
  // the system's reason.
  Status Finish();
  // Renames the finished file over the final path.
  Status Commit();

  const std::filesystem::path& final_path() const { return final_path_; }
  const std::filesystem::path& temp_path() const { return temp_path_; }

 private:
  StagedFile(std::filesystem::path final_path, std::filesystem::path temp_path, std::FILE* file);
  void Discard();
  void Fail();

  std::filesystem::path final_path_;
  std::filesystem::path temp_path_;
  std::FILE* file_ = nullptr;
  int error_ = 0;  // errno of the first failure
  bool committed_ = false;
};

}  // namespace dravella::engine::dbf
