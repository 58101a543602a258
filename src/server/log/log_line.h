#pragma once
// The server's log: one line per event on standard error, which journald keeps under systemd.
// Each line names the program and a level, so that `journalctl -p` style filtering and a
// plain grep find the errors; no line carries more of a customer than staff already see.
#include <ostream>
#include <string>
#include <string_view>

namespace decor::server {

enum class LogLevel { Info, Warning, Error };

// "decor-company-server: 错误：text", without the line end.
std::string logLine(LogLevel level, std::string_view text);

// Writes the line and its end in one piece, so that lines from several threads never mix.
void writeLog(std::ostream& out, LogLevel level, std::string_view text);

}  // namespace decor::server
