// Saving on Windows: the same steps as with POSIX calls, through the wide-character API so
// that 用户名 and D:\报价\ work, with MoveFileExW for the one-step replacement.
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>

#include "export/file_replace.h"
#include "text/system_path.h"

namespace decor {
namespace {

// The reason for a Windows error, through the same texts as for an errno value.
std::string windowsErrorReason(DWORD error) {
  switch (error) {
    case ERROR_ACCESS_DENIED:
    case ERROR_NETWORK_ACCESS_DENIED: return fileErrorReason(EACCES);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return fileErrorReason(ENOSPC);
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH: return fileErrorReason(ENOENT);
    case ERROR_WRITE_PROTECT: return fileErrorReason(EROFS);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE: return fileErrorReason(EBUSY);
    case ERROR_FILENAME_EXCED_RANGE: return fileErrorReason(ENAMETOOLONG);
    default: return "写入时出错（错误代码 " + std::to_string(error) + "）";
  }
}

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() { close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool ok() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  bool close() {
    const bool closed = !ok() || CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

// The data must be on the disk before the move makes it the target.
std::string flushToDisk(const std::filesystem::path& path) {
  Handle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file.ok()) return windowsErrorReason(GetLastError());
  if (!FlushFileBuffers(file.get())) return windowsErrorReason(GetLastError());
  return {};
}

}  // namespace

std::string writeWholeFile(const std::string& path, std::string_view bytes) {
  // Keeps the attributes of a file that exists (the hidden temporary file of a save).
  Handle file(CreateFileW(pathFromUtf8(path).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.ok()) return windowsErrorReason(GetLastError());
  if (!SetEndOfFile(file.get())) return windowsErrorReason(GetLastError());
  std::size_t written = 0;
  while (written < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, 1u << 30));
    DWORD n = 0;
    if (!WriteFile(file.get(), bytes.data() + written, chunk, &n, nullptr)) return windowsErrorReason(GetLastError());
    if (n == 0) return windowsErrorReason(ERROR_WRITE_FAULT);
    written += n;
  }
  if (!file.close()) return windowsErrorReason(GetLastError());
  return {};
}

std::string replaceFile(const std::string& targetPath, const FileWriter& write) {
  const std::filesystem::path target = pathFromUtf8(targetPath);
  if (target.filename().empty()) return saveFailureMessage(targetPath, fileErrorReason(EISDIR));
  std::error_code status;
  if (std::filesystem::is_directory(target, status)) return saveFailureMessage(targetPath, fileErrorReason(EISDIR));

  // Beside the target, so that the move stays on one volume; hidden the Windows way (the
  // leading dot hides nothing in Explorer).
  std::filesystem::path temp;
  DWORD error = ERROR_FILE_EXISTS;
  for (unsigned attempt = 0; attempt < 100 && error == ERROR_FILE_EXISTS; ++attempt) {
    const unsigned long long salt = GetTickCount64() * 7919ULL + GetCurrentProcessId() * 104729ULL + attempt;
    temp = target.parent_path() / (L"." + target.filename().wstring() + L".part-" + std::to_wstring(salt % 1000000));
    Handle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr));
    error = file.ok() ? ERROR_SUCCESS : GetLastError();
  }
  if (error != ERROR_SUCCESS) return saveFailureMessage(targetPath, windowsErrorReason(error));
  const std::string tempPath = utf8FromPath(temp);

  std::string failure = write(tempPath);
  if (failure.empty()) failure = flushToDisk(temp);
  // The target must not come out hidden.
  if (failure.empty() && !SetFileAttributesW(temp.c_str(), FILE_ATTRIBUTE_NORMAL)) {
    failure = windowsErrorReason(GetLastError());
  }
  if (failure.empty() &&
      !MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    failure = windowsErrorReason(GetLastError());
  }
  if (!failure.empty()) {
    DeleteFileW(temp.c_str());
    return saveFailureMessage(targetPath, failure);
  }
  return {};
}

}  // namespace decor
