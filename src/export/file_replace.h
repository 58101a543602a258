#pragma once
// Saving a file so that a failure never leaves a half-written file behind: the writer fills a
// temporary file in the target's folder, which then replaces the target in one rename. Until
// that rename succeeds any earlier file of that name stays as it was.
#include <functional>
#include <string>
#include <string_view>

namespace decor {

// Writes `tempPath` completely; returns the reason for a failure, empty on success.
using FileWriter = std::function<std::string(const std::string& tempPath)>;

// Returns a message for the user naming the file and the reason, empty on success.
std::string replaceFile(const std::string& targetPath, const FileWriter& write);

// Writes `bytes` as the whole content of `path`. Returns the reason for a failure, empty on
// success.
std::string writeWholeFile(const std::string& path, std::string_view bytes);

// The reason for an operating-system error, for the user: "没有写入权限" and the like.
std::string fileErrorReason(int errorNumber);

// "无法保存文件“path”：reason"
std::string saveFailureMessage(const std::string& targetPath, const std::string& reason);

}  // namespace decor
