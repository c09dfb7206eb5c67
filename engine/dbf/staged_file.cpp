#include "engine/dbf/staged_file.h"

#include <atomic>
#include <cerrno>
#include <random>
#include <string>
#include <system_error>
#include <utility>

#include "engine/platform/file_system.h"

namespace dravella::engine::dbf {
namespace {

std::string Reason(int error) { return std::generic_category().message(error); }

// A file that exists is never opened: two saves never share a temp file.
std::FILE* OpenNew(const std::filesystem::path& path) { return platform::OpenNewFile(path); }

std::string TempSuffix() {
  static std::atomic<uint32_t> counter{std::random_device{}()};
  char text[16];
  std::snprintf(text, sizeof text, ".%08x.tmp", counter.fetch_add(1));
  return text;
}

}  // namespace

Result<StagedFile> StagedFile::Create(const std::filesystem::path& final_path) {
  constexpr int kAttempts = 100;
  int error = EEXIST;
  for (int attempt = 0; attempt < kAttempts && error == EEXIST; ++attempt) {
    std::filesystem::path temp_path = final_path;
    temp_path += TempSuffix();
    errno = 0;
    if (std::FILE* file = OpenNew(temp_path)) {
      return StagedFile(final_path, std::move(temp_path), file);
    }
    error = errno != 0 ? errno : EIO;
  }
  return Status::Error(ErrorCode::kWriteFailed,
                       "Cannot write " + platform::PathText(final_path) + ": " + Reason(error));
}

StagedFile::StagedFile(std::filesystem::path final_path, std::filesystem::path temp_path,
                       std::FILE* file)
    : final_path_(std::move(final_path)), temp_path_(std::move(temp_path)), file_(file) {}

StagedFile::StagedFile(StagedFile&& other) noexcept
    : final_path_(std::move(other.final_path_)),
      temp_path_(std::move(other.temp_path_)),
      file_(std::exchange(other.file_, nullptr)),
      error_(other.error_),
      committed_(std::exchange(other.committed_, true)) {}

StagedFile& StagedFile::operator=(StagedFile&& other) noexcept {
  if (this != &other) {
    Discard();
    final_path_ = std::move(other.final_path_);
    temp_path_ = std::move(other.temp_path_);
    file_ = std::exchange(other.file_, nullptr);
    error_ = other.error_;
    committed_ = std::exchange(other.committed_, true);
  }
  return *this;
}

StagedFile::~StagedFile() { Discard(); }

void StagedFile::Discard() {
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
  }
  if (!committed_ && !temp_path_.empty()) {
    std::error_code ignored;
    std::filesystem::remove(temp_path_, ignored);
  }
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

Status StagedFile::Commit() {
  std::error_code error;
  std::filesystem::rename(temp_path_, final_path_, error);
  if (error) {
    return Status::Error(ErrorCode::kWriteFailed,
                         "Cannot replace " + platform::PathText(final_path_) + ": " + error.message());
  }
  committed_ = true;
  return Status::Ok();
}

}  // namespace dravella::engine::dbf
