// FileSource on Windows: CreateFileW, and ReadFile with the offset in an
// OVERLAPPED (a positioned read: no shared file position). Others may read,
// write, rename or delete the file while it is open, as on POSIX systems.

#include <windows.h>

#include <algorithm>
#include <string>

#include "engine/xls/byte_source.h"

namespace dravella::engine::xls {
namespace {

std::string SystemMessage(DWORD error) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                          FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = length ? std::string(text, length) : "error " + std::to_string(error);
  if (text) LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.')) {
    message.pop_back();
  }
  return message;
}

struct Snapshot {
  uint64_t size = 0;
  int64_t modified = 0;
};

bool Describe(HANDLE file, Snapshot* out) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(file, &info)) return false;
  out->size = (uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
  out->modified = static_cast<int64_t>((uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32) |
                                       info.ftLastWriteTime.dwLowDateTime);
  return true;
}

}  // namespace

Result<std::unique_ptr<FileSource>> FileSource::Open(const std::filesystem::path& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_ACCESS_DENIED && std::filesystem::is_directory(path)) {
      return Status::Error(ErrorCode::kFileUnreadable, "it is a folder");
    }
    return Status::Error(ErrorCode::kFileUnreadable, SystemMessage(error));
  }
  Snapshot snapshot;
  if (!Describe(file, &snapshot)) {
    const DWORD error = GetLastError();
    CloseHandle(file);
    return Status::Error(ErrorCode::kFileUnreadable, SystemMessage(error));
  }
  return std::unique_ptr<FileSource>(
      new FileSource(reinterpret_cast<intptr_t>(file), snapshot.size, snapshot.modified));
}

FileSource::~FileSource() { CloseHandle(reinterpret_cast<HANDLE>(handle_)); }

Status FileSource::CheckUnchanged() const {
  Snapshot now;
  if (!Describe(reinterpret_cast<HANDLE>(handle_), &now)) {
    return Status::Error(ErrorCode::kFileUnreadable, "reading it failed: " + SystemMessage(GetLastError()));
  }
  if (now.size != size_ || now.modified != modified_) {
    return Status::Error(ErrorCode::kFileUnreadable, "another program changed it while it was being read");
  }
  return Status::Ok();
}

Status FileSource::ReadAt(uint64_t offset, std::span<uint8_t> out) const {
  size_t done = 0;
  while (done < out.size()) {
    const uint64_t at = offset + done;
    OVERLAPPED where{};
    where.Offset = static_cast<DWORD>(at);
    where.OffsetHigh = static_cast<DWORD>(at >> 32);
    const DWORD want = static_cast<DWORD>(std::min<size_t>(out.size() - done, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(reinterpret_cast<HANDLE>(handle_), out.data() + done, want, &got, &where)) {
      const DWORD error = GetLastError();
      if (error != ERROR_HANDLE_EOF) {
        return Status::Error(ErrorCode::kFileUnreadable, "reading it failed: " + SystemMessage(error));
      }
      got = 0;
    }
    if (got == 0) {
      return Status::Error(ErrorCode::kTruncated, "it became shorter while it was read (" + std::to_string(at) +
                                                      " of " + std::to_string(size_) + " bytes)");
    }
    done += got;
  }
  return Status::Ok();
}

}  // namespace dravella::engine::xls
