#include "cli/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace decor::cli {
namespace {

std::string reasonFor(int error) {
  switch (error) {
    case ENOENT: return "文件不存在";
    case EACCES:
    case EPERM: return "没有读取权限";
    case ENAMETOOLONG: return "路径名过长";
    case ELOOP: return "符号链接层数过多（可能是循环链接）";
    case ENOTDIR: return "路径中有一段不是文件夹";
    case EISDIR: return "是文件夹，不是文件";
    default: return std::string("读取出错（") + std::strerror(error) + "）";
  }
}

std::string sizeText(std::size_t bytes) {
  constexpr std::size_t kMiB = 1024 * 1024;
  if (bytes >= kMiB && bytes % kMiB == 0) return std::to_string(bytes / kMiB) + " MiB";
  return std::to_string(bytes) + " 字节";
}

InputFile refused(std::string reason) {
  return InputFile{.status = InputFile::Status::Refused, .bytes = {}, .reason = std::move(reason)};
}

// Closes the descriptor on every way out.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

int openForReading(const std::filesystem::path& path) {
#ifdef _WIN32
  // Wide, so that any file name opens; Windows has no pipes or devices in a folder to stall on.
  const int fd = ::_wopen(path.c_str(), _O_RDONLY | _O_BINARY);
  // Windows refuses to open a folder as a file with "access denied".
  std::error_code ignored;
  if (fd < 0 && errno == EACCES && std::filesystem::is_directory(path, ignored)) errno = EISDIR;
  return fd;
#else
  // Non-blocking, so that a named pipe is refused below instead of waiting for a writer.
  return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
#endif
}

}  // namespace

InputFile readInputFile(const std::filesystem::path& path, std::size_t maxBytes) {
  if (path.empty()) return refused("路径为空");
  const FileDescriptor fd(openForReading(path));
  if (fd.get() < 0) {
    const int error = errno;
    return InputFile{.status = error == ENOENT ? InputFile::Status::Missing : InputFile::Status::Refused,
                     .bytes = {},
                     .reason = reasonFor(error)};
  }
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) return refused(reasonFor(errno));
  if (S_ISDIR(info.st_mode)) return refused(reasonFor(EISDIR));
  if (!S_ISREG(info.st_mode)) return refused("不是普通文件（设备、管道或套接字）");
  const std::string tooLarge = "文件超过 " + sizeText(maxBytes) + " 的上限";
  if (static_cast<std::uintmax_t>(info.st_size) > maxBytes) return refused(tooLarge);

  InputFile file{.status = InputFile::Status::Read, .bytes = {}, .reason = {}};
  file.bytes.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      return refused(reasonFor(errno));
    }
    // The file may have grown since fstat.
    if (file.bytes.size() + static_cast<std::size_t>(n) > maxBytes) return refused(tooLarge);
    file.bytes.append(buffer, static_cast<std::size_t>(n));
  }
  return file;
}

}  // namespace decor::cli
