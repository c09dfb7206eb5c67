// FileSource on POSIX systems: open, fstat and pread (file_source_windows.cpp
// is the Windows twin).

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "engine/xls/byte_source.h"

namespace dravella::engine::xls {
namespace {

int64_t Modified(const struct stat& info) {
  return static_cast<int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
}

}  // namespace

Result<std::unique_ptr<FileSource>> FileSource::Open(const std::filesystem::path& path) {
  int fd = -1;
  do {
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return Status::Error(ErrorCode::kFileUnreadable, std::strerror(errno));
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    const int error = errno;
    ::close(fd);
    return Status::Error(ErrorCode::kFileUnreadable, std::strerror(error));
  }
  if (S_ISDIR(info.st_mode)) {
    ::close(fd);
    return Status::Error(ErrorCode::kFileUnreadable, "it is a folder");
  }
  return std::unique_ptr<FileSource>(new FileSource(fd, static_cast<uint64_t>(info.st_size), Modified(info)));
}

Status FileSource::CheckUnchanged() const {
  struct stat info {};
  if (::fstat(static_cast<int>(handle_), &info) != 0) {
    return Status::Error(ErrorCode::kFileUnreadable, std::string("reading it failed: ") + std::strerror(errno));
  }
  if (static_cast<uint64_t>(info.st_size) != size_ || Modified(info) != modified_) {
    return Status::Error(ErrorCode::kFileUnreadable, "another program changed it while it was being read");
  }
  return Status::Ok();
}

FileSource::~FileSource() { ::close(static_cast<int>(handle_)); }

Status FileSource::ReadAt(uint64_t offset, std::span<uint8_t> out) const {
  size_t done = 0;
  while (done < out.size()) {
    const ssize_t got = ::pread(static_cast<int>(handle_), out.data() + done, out.size() - done,
                                static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      return Status::Error(ErrorCode::kFileUnreadable, std::string("reading it failed: ") + std::strerror(errno));
    }
    if (got == 0) {
      return Status::Error(ErrorCode::kTruncated, "it became shorter while it was read (" +
                                                      std::to_string(offset + done) + " of " +
                                                      std::to_string(size_) + " bytes)");
    }
    done += static_cast<size_t>(got);
  }
  return Status::Ok();
}

}  // namespace dravella::engine::xls
