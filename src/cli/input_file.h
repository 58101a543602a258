#pragma once
// Reading the files decor-cli is given (the room list, the price files) without ever
// throwing, blocking on a pipe or device, or growing without bound: only a regular file of
// at most kMaxInputFileBytes is read; anything else gives a reason in Chinese.
#include <cstddef>
#include <filesystem>
#include <string>

namespace decor::cli {

inline constexpr std::size_t kMaxInputFileBytes = std::size_t{64} * 1024 * 1024;

struct InputFile {
  enum class Status { Read, Missing, Refused };
  Status status = Status::Refused;
  std::string bytes;   // the whole file when Read
  std::string reason;  // why not, when Missing or Refused ("文件不存在", "是文件夹" ...)
};

InputFile readInputFile(const std::filesystem::path& path, std::size_t maxBytes = kMaxInputFileBytes);

}  // namespace decor::cli
