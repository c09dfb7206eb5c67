#include "engine/platform/file_system.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>

#include "engine/platform/wide_text.h"

namespace dravella::platform {
namespace {

// "C:\" or "C:": a drive's root has no name of its own, and its attributes
// (often hidden and system) say nothing about whether it may be used.
bool IsRoot(const std::filesystem::path& path) { return path.relative_path().empty(); }

}  // namespace

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
    const DWORD error = GetLastError();
    errno = (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) ? EEXIST
            : error == ERROR_ACCESS_DENIED                                ? EACCES
                                                                          : ENOENT;
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

}  // namespace dravella::platform
