#include "engine/platform/file_system.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>

#include "engine/platform/wide_text.h"
#include "engine/platform/windows_error.h"

namespace dravella::platform {
namespace {

// "C:\" or "C:": a drive's root has no name of its own, and its attributes
// (often hidden and system) say nothing about whether it may be used.
bool IsRoot(const std::filesystem::path& path) { return path.relative_path().empty(); }

// The usual longest name, in UTF-16 units, of the file systems Windows uses.
constexpr DWORD kUsualLongestFileName = 255;

}  // namespace

int ErrnoFromWindowsError(unsigned long error) {
  switch (error) {
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return EEXIST;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_WRITE_PROTECT:
      return EROFS;
    case ERROR_FILENAME_EXCED_RANGE:
      return ENAMETOOLONG;
    case ERROR_INVALID_NAME:
      return EINVAL;
    default:
      return ENOENT;
  }
}

std::wstring WideFromUtf8(std::string_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), length);
  return wide;
}

std::string Utf8FromWide(std::wstring_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string narrow(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
  return narrow;
}

std::filesystem::path NativePath(std::string_view text) {
  return std::filesystem::path(WideFromUtf8(text));
}

std::string PathText(const std::filesystem::path& path) { return Utf8FromWide(path.native()); }

bool IsHiddenEntry(std::string_view path) {
  const std::filesystem::path native = NativePath(path);
  if (native.empty() || IsRoot(native)) return false;
  const DWORD attributes = GetFileAttributesW(native.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  return (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
}

// CREATE_NEW gives the exclusive creation that the C run-time's "x" mode
// offers only in its newer versions.
std::FILE* OpenNewFile(const std::filesystem::path& path) {
  const HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    errno = ErrnoFromWindowsError(GetLastError());
    return nullptr;
  }
  const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY | _O_WRONLY);
  if (descriptor < 0) {
    CloseHandle(handle);
    return nullptr;
  }
  std::FILE* file = _fdopen(descriptor, "wb");
  if (file == nullptr) _close(descriptor);
  return file;
}

std::error_code MoveOver(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return {};
  }
  return std::make_error_code(static_cast<std::errc>(ErrnoFromWindowsError(GetLastError())));
}

// The file systems Windows uses (NTFS, FAT32, exFAT, ReFS) take names of 255
// UTF-16 units; a name of that many UTF-8 bytes always fits, as no character
// takes more units than bytes. Asking the volume would cost a call per
// workbook and, on some network drives, a wait.
size_t LongestFileName(const std::filesystem::path& /*folder*/) { return kUsualLongestFileName; }

}  // namespace dravella::platform
