#include "server/log/log_line.h"

namespace decor::server {

std::string logLine(LogLevel level, std::string_view text) {
  const char* name = "信息";
  if (level == LogLevel::Warning) name = "警告";
  if (level == LogLevel::Error) name = "错误";
  std::string line = "decor-company-server: ";
  line += name;
  line += "：";
  line += text;
  return line;
}

void writeLog(std::ostream& out, LogLevel level, std::string_view text) {
  out << logLine(level, text) + "\n" << std::flush;
}

}  // namespace decor::server
