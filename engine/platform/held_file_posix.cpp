#include "engine/platform/held_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace dravella::platform {
namespace {

// Opens a new file at path and takes its lock; -1 with errno on failure.
// The lock lives as long as the descriptor (or a duplicate of it) is open.
int CreateLocked(const std::filesystem::path& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return -1;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    // Another save's cleaner holds the new file for a moment, taking it for
    // a leftover, and removes it: the name is as good as taken.
    const int error = errno == EWOULDBLOCK ? EEXIST : errno;
    ::close(fd);
    errno = error;
    return -1;
  }
  // A cleaner may have taken the new file for a leftover between open and
  // lock: then the name no longer leads to this file.
  struct stat opened{}, named{};
  if (::fstat(fd, &opened) != 0 || ::stat(path.c_str(), &named) != 0 ||
      opened.st_ino != named.st_ino || opened.st_dev != named.st_dev) {
    ::close(fd);
    errno = EEXIST;
    return -1;
  }
  return fd;
}

}  // namespace

std::FILE* CreateHeldFile(const std::filesystem::path& path, FileHold& hold) {
  hold = kNoHold;
  const int fd = CreateLocked(path);
  if (fd < 0) return nullptr;
  // The stream writes through a duplicate, so closing it keeps the lock.
  const int copy = ::dup(fd);
  std::FILE* file = copy < 0 ? nullptr : ::fdopen(copy, "wb");
  if (file == nullptr) {
    const int error = errno != 0 ? errno : EIO;
    if (copy >= 0) ::close(copy);
    ::unlink(path.c_str());
    ::close(fd);
    errno = error;
    return nullptr;
  }
  hold = fd;
  return file;
}

void ReleaseHold(FileHold hold) {
  if (hold != kNoHold) ::close(static_cast<int>(hold));
}

void RemoveIfNotHeld(const std::filesystem::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return;
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlink(path.c_str());
  ::close(fd);
}

}  // namespace dravella::platform
