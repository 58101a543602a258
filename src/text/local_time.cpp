#include "text/local_time.h"

#include <ctime>

namespace decor {

std::string localTimeText(const char* strftimePattern) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  char text[32];
  const std::size_t length = std::strftime(text, sizeof text, strftimePattern, &local);
  return std::string(text, length);
}

}  // namespace decor
