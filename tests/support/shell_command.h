#pragma once
// Runs a shell command line and collects its standard output and exit code: the tools that
// read our files back (a spreadsheet reader, poppler) and decor-cli itself.
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace decor::test {

struct ShellResult {
  int exitCode = -1;  // -1 when the command could not run or did not exit normally
  std::string output;
};

inline ShellResult runShell(const std::string& command) {
  ShellResult result;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  std::array<char, 65536> buffer{};
  while (const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe)) result.output.append(buffer.data(), n);
  const int status = ::pclose(pipe);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

}  // namespace decor::test
