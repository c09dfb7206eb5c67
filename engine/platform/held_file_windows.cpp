#include "engine/platform/held_file.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>

#include "engine/platform/windows_error.h"

namespace dravella::platform {
namespace {

// Every handle shares everything: the held file can be renamed into place,
// and removed by an interrupt, while its hold stays open.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The hold is a lock on one byte at 2^62, where no table ever writes, so the
// writer's own stream is never kept from its data.
OVERLAPPED HoldRange() {
  OVERLAPPED at{};
  at.OffsetHigh = 0x40000000u;
  return at;
}

bool TakeHold(HANDLE file) {
  OVERLAPPED at = HoldRange();
  return LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at) != 0;
}

bool SameFile(HANDLE a, HANDLE b) {
  BY_HANDLE_FILE_INFORMATION first{}, second{};
  return GetFileInformationByHandle(a, &first) && GetFileInformationByHandle(b, &second) &&
         first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
         first.nFileIndexHigh == second.nFileIndexHigh &&
         first.nFileIndexLow == second.nFileIndexLow;
}

// Marks the open file for removal when its last handle closes: the file
// removed is the one opened, whatever its name leads to meanwhile.
void RemoveOnClose(HANDLE file) {
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = TRUE;
  SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
}

// Removes the held file when the name still leads to it.
void RemoveHeld(const std::filesystem::path& path, HANDLE held) {
  const HANDLE file = CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  if (SameFile(file, held)) RemoveOnClose(file);
  CloseHandle(file);
}

}  // namespace

std::FILE* CreateHeldFile(const std::filesystem::path& path, FileHold& hold) {
  hold = kNoHold;
  // No DELETE access: others may read the file without sharing its removal.
  const HANDLE held = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr,
                                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (held == INVALID_HANDLE_VALUE) {
    errno = ErrnoFromWindowsError(GetLastError());
    return nullptr;
  }
  // A cleaner that got the lock first takes the new file for a leftover.
  if (!TakeHold(held)) {
    CloseHandle(held);
    errno = EEXIST;
    return nullptr;
  }
  // The stream has a handle of its own; the name must still lead to the
  // held file, or a cleaner removed it between its creation and the hold.
  const HANDLE stream = CreateFileW(path.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  // Otherwise the cleaner has marked the held file for removal already.
  if (stream == INVALID_HANDLE_VALUE || !SameFile(held, stream)) {
    if (stream != INVALID_HANDLE_VALUE) CloseHandle(stream);
    CloseHandle(held);
    errno = EEXIST;
    return nullptr;
  }
  const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(stream), _O_BINARY | _O_WRONLY);
  std::FILE* file = descriptor < 0 ? nullptr : _fdopen(descriptor, "wb");
  if (file == nullptr) {
    if (descriptor >= 0) {
      _close(descriptor);
    } else {
      CloseHandle(stream);
    }
    RemoveHeld(path, held);
    CloseHandle(held);
    errno = EIO;
    return nullptr;
  }
  hold = reinterpret_cast<FileHold>(held);
  return file;
}

void ReleaseHold(FileHold hold) {
  if (hold != kNoHold) CloseHandle(reinterpret_cast<HANDLE>(hold));
}

void RemoveIfNotHeld(const std::filesystem::path& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | DELETE, kShareAll, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  if (TakeHold(file)) RemoveOnClose(file);
  CloseHandle(file);
}

}  // namespace dravella::platform
