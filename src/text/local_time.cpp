#include "text/local_time.h"

#include <ctime>

namespace decor {

std::string localTimeText(const char* strftimePattern) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  const std::size_t length = std::strftime(text, sizeof text, strftimePattern, &local);
  return std::string(text, length);
}

}  // namespace decor
