#include "text/system_path.h"

namespace decor {

std::filesystem::path pathFromUtf8(std::string_view utf8) {
  try {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
  } catch (const std::exception&) {
    // Not UTF-8 (Windows cannot convert it): no such file exists, so the open reports it.
    return std::filesystem::path(std::string(utf8));
  }
}

std::string utf8FromPath(const std::filesystem::path& path) {
  const std::u8string utf8 = path.u8string();
  return std::string(utf8.begin(), utf8.end());
}

}  // namespace decor
