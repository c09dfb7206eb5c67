// A file written under a temporary name in the folder of its final path and
// moved over that path only when the whole set it belongs to is complete
// (ReplaceTogether), so that readers never see it half written. Dropped
// before that, the temporary file is removed.
//
// Temporary names are short and of fixed length ("~dv" + 8 hex digits of the
// final name + "-" + a slot digit + ".tmp"), so any name the folder takes can
// be saved. While a file is written it holds a lock on it; a file of its
// names that nobody holds is a leftover of an interrupted save and is removed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "engine/platform/held_file.h"
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
  // Renames the finished file over the final path on its own.
  Status Commit();

  const std::filesystem::path& final_path() const { return final_path_; }
  const std::filesystem::path& temp_path() const { return temp_path_; }

 private:
  friend Status ReplaceTogether(const std::vector<StagedFile*>& files,
                                const std::vector<std::filesystem::path>& removed);
  StagedFile(std::filesystem::path final_path, std::filesystem::path temp_path, std::FILE* file,
             platform::FileHold hold, int listed);
  void Discard();
  void Fail();
  void Release();

  std::filesystem::path final_path_;
  std::filesystem::path temp_path_;
  std::FILE* file_ = nullptr;
  platform::FileHold hold_ = platform::kNoHold;  // tells a live save from a leftover
  int listed_ = -1;    // slot in the list of files removed on an interrupt
  int error_ = 0;      // errno of the first failure
  bool committed_ = false;
};

// Puts finished files into place in the order given and removes the files at
// `removed` (those no longer wanted beside them), as one step: when any part
// fails, every earlier file of these names is restored as it was and the new
// files are gone. Folders standing at a removed path are left alone.
Status ReplaceTogether(const std::vector<StagedFile*>& files,
                       const std::vector<std::filesystem::path>& removed);

// The fixed-length temporary name of slot `slot` for final_path (for tests).
std::filesystem::path TempPathFor(const std::filesystem::path& final_path, int slot);

}  // namespace dravella::engine::dbf
