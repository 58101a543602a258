#include "server/clock/time_text.h"

#include <chrono>

namespace decor::server {

std::int64_t nowMilliseconds() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

std::tm localCalendar(std::int64_t seconds) {
  const auto time = static_cast<std::time_t>(seconds);
  std::tm local{};
  localtime_r(&time, &local);
  return local;
}

std::string localTimeText(std::int64_t seconds, const char* strftimePattern) {
  const std::tm local = localCalendar(seconds);
  char out[64];
  const std::size_t length = std::strftime(out, sizeof out, strftimePattern, &local);
  return std::string(out, length);
}

std::string localTimeNow() { return localTimeText(nowMilliseconds() / 1000, kStampPattern); }

}  // namespace decor::server
