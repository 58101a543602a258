#include "export/file_replace.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <vector>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace decor {

std::string fileErrorReason(int errorNumber) {
  switch (errorNumber) {
    case EACCES:
    case EPERM:
      return "没有写入权限";
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
      return "磁盘空间不足";
    case ENOENT:
    case ENOTDIR:
      return "文件夹不存在";
    case EROFS:
      return "磁盘是只读的";
    case EBUSY:
    case ETXTBSY:
      return "文件正被其他程序使用";
    case EISDIR:
      return "同名的文件夹已存在";
    case ENAMETOOLONG:
      return "文件名太长";
    default:
      return "写入时出错（错误代码 " + std::to_string(errorNumber) + "）";
  }
}

std::string saveFailureMessage(const std::string& targetPath, const std::string& reason) {
  return "无法保存文件“" + targetPath + "”：" + reason;
}

#ifndef _WIN32
namespace {

// The data must be on the disk before the rename makes it the target.
std::string flushToDisk(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return fileErrorReason(errno);
  const bool synced = ::fsync(fd) == 0;
  const int error = errno;
  ::close(fd);
  return synced ? std::string{} : fileErrorReason(error);
}

}  // namespace

std::string writeWholeFile(const std::string& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return fileErrorReason(errno);
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const int error = n < 0 ? errno : EIO;
      ::close(fd);
      return fileErrorReason(error);
    }
    written += static_cast<std::size_t>(n);
  }
  if (::close(fd) != 0) return fileErrorReason(errno);
  return {};
}

std::string replaceFile(const std::string& targetPath, const FileWriter& write) {
  const std::filesystem::path target(targetPath);
  if (target.filename().empty()) return saveFailureMessage(targetPath, fileErrorReason(EISDIR));
  std::error_code status;
  if (std::filesystem::is_directory(target, status)) return saveFailureMessage(targetPath, fileErrorReason(EISDIR));

  // Beside the target, so that the rename stays on one file system.
  // Appended rather than "." + std::string: GCC 12 at -O3 reports a false -Wrestrict overlap there.
  const std::string hidden = std::string(".").append(target.filename().string()).append(".part-XXXXXX");
  const std::string pattern = (target.parent_path() / hidden).string();
  std::vector<char> tempName(pattern.begin(), pattern.end());
  tempName.push_back('\0');
  const int fd = ::mkstemp(tempName.data());
  if (fd < 0) return saveFailureMessage(targetPath, fileErrorReason(errno));
  // mkstemp makes the file private to us; a saved quotation gets the permissions of the file it
  // replaces, or those of an ordinary new file.
  struct stat existing {};
  ::fchmod(fd, ::stat(targetPath.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : 0644);
  ::close(fd);
  const std::string tempPath(tempName.data());

  std::string failure = write(tempPath);
  if (failure.empty()) failure = flushToDisk(tempPath);
  if (failure.empty() && std::rename(tempPath.c_str(), targetPath.c_str()) != 0) {
    failure = fileErrorReason(errno);
  }
  if (!failure.empty()) {
    std::remove(tempPath.c_str());
    return saveFailureMessage(targetPath, failure);
  }
  return {};
}

#endif

}  // namespace decor
