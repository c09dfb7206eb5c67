#include "engine/dbf/staged_file.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <system_error>
#include <utility>

#include "engine/dbf/interrupt_cleanup.h"
#include "engine/platform/file_system.h"
#include "engine/platform/held_file.h"

namespace dravella::engine::dbf {
namespace {

namespace fs = std::filesystem;

constexpr int kSlots = 10;

std::string Reason(int error) { return std::generic_category().message(error); }

// FNV-1a of the final file name: the temporary names of one table share it.
uint32_t NameHash(const fs::path& final_path) {
  uint32_t hash = 2166136261u;
  for (const unsigned char c : platform::PathText(final_path.filename())) hash = (hash ^ c) * 16777619u;
  return hash;
}

fs::path SiblingName(const fs::path& final_path, int slot, const char* extension) {
  char name[32];
  std::snprintf(name, sizeof name, "~dv%08x-%d%s", NameHash(final_path), slot, extension);
  return final_path.parent_path() / name;
}


}  // namespace

fs::path TempPathFor(const fs::path& final_path, int slot) {
  return SiblingName(final_path, slot, ".tmp");
}

Result<StagedFile> StagedFile::Create(const fs::path& final_path) {
  for (int slot = 0; slot < kSlots; ++slot) platform::RemoveIfNotHeld(TempPathFor(final_path, slot));
  int error = EEXIST;
  for (int slot = 0; slot < kSlots; ++slot) {
    fs::path temp_path = TempPathFor(final_path, slot);
    // Listed before it exists, so an interrupt right after the creation
    // still finds it.
    const int listed = ListTempFile(temp_path.c_str());
    errno = 0;
    platform::FileHold hold = platform::kNoHold;
    std::FILE* file = platform::CreateHeldFile(temp_path, hold);
    if (file == nullptr) {
      error = errno != 0 ? errno : EIO;
      UnlistTempFile(listed);
      if (error == EEXIST) continue;  // a live save of a table of the same hash
      break;
    }
    return StagedFile(final_path, std::move(temp_path), file, hold, listed);
  }
  return Status::Error(ErrorCode::kWriteFailed,
                       "Cannot write " + platform::PathText(final_path) + ": " + Reason(error));
}

StagedFile::StagedFile(fs::path final_path, fs::path temp_path, std::FILE* file, platform::FileHold hold,
                       int listed)
    : final_path_(std::move(final_path)),
      temp_path_(std::move(temp_path)),
      file_(file),
      hold_(hold),
      listed_(listed) {}

StagedFile::StagedFile(StagedFile&& other) noexcept
    : final_path_(std::move(other.final_path_)),
      temp_path_(std::move(other.temp_path_)),
      file_(std::exchange(other.file_, nullptr)),
      hold_(std::exchange(other.hold_, platform::kNoHold)),
      listed_(std::exchange(other.listed_, -1)),
      error_(other.error_),
      committed_(std::exchange(other.committed_, true)) {}

StagedFile& StagedFile::operator=(StagedFile&& other) noexcept {
  if (this != &other) {
    Discard();
    final_path_ = std::move(other.final_path_);
    temp_path_ = std::move(other.temp_path_);
    file_ = std::exchange(other.file_, nullptr);
    hold_ = std::exchange(other.hold_, platform::kNoHold);
    listed_ = std::exchange(other.listed_, -1);
    error_ = other.error_;
    committed_ = std::exchange(other.committed_, true);
  }
  return *this;
}

StagedFile::~StagedFile() { Discard(); }

void StagedFile::Release() {
  UnlistTempFile(listed_);
  listed_ = -1;
  platform::ReleaseHold(hold_);
  hold_ = platform::kNoHold;
}

void StagedFile::Discard() {
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
  }
  if (!committed_ && !temp_path_.empty()) {
    std::error_code ignored;
    fs::remove(temp_path_, ignored);
  }
  Release();
  committed_ = true;
}

void StagedFile::Fail() {
  if (error_ == 0) error_ = errno != 0 ? errno : EIO;
}

void StagedFile::Write(const void* data, size_t size) {
  if (error_ != 0 || file_ == nullptr || size == 0) return;
  errno = 0;
  if (std::fwrite(data, 1, size, file_) != size) Fail();
}

void StagedFile::Overwrite(uint64_t offset, const void* data, size_t size) {
  if (error_ != 0 || file_ == nullptr) return;
  errno = 0;
  if (std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) return Fail();
  Write(data, size);
  if (error_ == 0 && std::fseek(file_, 0, SEEK_END) != 0) Fail();
}

Status StagedFile::Finish() {
  if (file_ != nullptr) {
    errno = 0;
    if (std::fflush(file_) != 0) Fail();
    errno = 0;
    if (std::fclose(file_) != 0) Fail();
    file_ = nullptr;
  }
  if (error_ != 0) {
    return Status::Error(ErrorCode::kWriteFailed,
                         "Cannot write " + platform::PathText(final_path_) + ": " + Reason(error_));
  }
  return Status::Ok();
}

Status StagedFile::Commit() { return ReplaceTogether({this}, {}); }

namespace {

// One name of a replacement: its earlier file (kept aside until the end)
// and whether the new file was put in its place.
struct Replacement {
  fs::path final_path;
  fs::path backup;     // empty: there was no earlier file
  bool linked = false; // the backup is a second name of the earlier file
  bool placed = false;
};

bool IsFolder(const fs::path& path) {
  std::error_code error;
  return fs::is_directory(fs::symlink_status(path, error));
}

bool Exists(const fs::path& path) {
  std::error_code error;
  return fs::symlink_status(path, error).type() != fs::file_type::not_found && !error;
}

// Keeps the earlier file at final_path under a backup name: a second name
// where the file system has them (the file stays in place meanwhile), else
// by moving it aside.
std::error_code KeepAside(Replacement& step) {
  std::error_code error;
  if (!Exists(step.final_path) || IsFolder(step.final_path)) return error;
  for (int slot = 0; slot < kSlots; ++slot) {
    const fs::path backup = SiblingName(step.final_path, slot, ".old");
    if (Exists(backup)) continue;
    fs::create_hard_link(step.final_path, backup, error);
    if (!error) {
      step.backup = backup;
      step.linked = true;
      return error;
    }
    error = platform::MoveOver(step.final_path, backup);
    if (!error) step.backup = backup;
    return error;
  }
  return std::make_error_code(std::errc::file_exists);
}

void Restore(std::vector<Replacement>& steps) {
  for (auto step = steps.rbegin(); step != steps.rend(); ++step) {
    std::error_code ignored;
    if (!step->backup.empty()) {
      ignored = platform::MoveOver(step->backup, step->final_path);
      // Renaming a second name over the first one leaves both in place.
      if (step->linked) fs::remove(step->backup, ignored);
    } else if (step->placed) {
      fs::remove(step->final_path, ignored);
    }
  }
}

Status ReplaceFailed(const fs::path& path, const std::error_code& error) {
  return Status::Error(ErrorCode::kWriteFailed, "Cannot replace " + platform::PathText(path) + ": " +
                                                    error.message() +
                                                    " (the earlier files were kept)");
}

}  // namespace

Status ReplaceTogether(const std::vector<StagedFile*>& files,
                       const std::vector<fs::path>& removed) {
  std::vector<Replacement> steps;
  std::error_code error;
  fs::path failed;
  auto fail = [&](const fs::path& path) {
    failed = path;
    Restore(steps);
  };
  for (StagedFile* file : files) {
    Replacement& step = steps.emplace_back(Replacement{file->final_path_, {}});
    if ((error = KeepAside(step))) return fail(step.final_path), ReplaceFailed(failed, error);
    error = platform::MoveOver(file->temp_path_, file->final_path_);
    if (error) return fail(step.final_path), ReplaceFailed(failed, error);
    step.placed = true;
    // In place, the file needs no hold; on Windows an open hold would keep
    // a restore from putting the earlier file back over it.
    platform::ReleaseHold(std::exchange(file->hold_, platform::kNoHold));
  }
  for (const fs::path& path : removed) {
    if (!Exists(path) || IsFolder(path)) continue;
    Replacement& step = steps.emplace_back(Replacement{path, {}});
    if ((error = KeepAside(step))) return fail(path), ReplaceFailed(failed, error);
    if (step.linked) fs::remove(path, error);
    if (error) return fail(path), ReplaceFailed(failed, error);
  }
  for (StagedFile* file : files) {
    file->committed_ = true;
    file->Release();
  }
  for (const Replacement& step : steps) {
    std::error_code ignored;
    if (!step.backup.empty()) fs::remove(step.backup, ignored);
  }
  return Status::Ok();
}

}  // namespace dravella::engine::dbf
