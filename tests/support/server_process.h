#pragma once
// A decor-company-server child process for tests: started on a free port, its address read
// from the line it prints once it listens, ended by a signal of the test's choosing.
#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace decor::testing {

class ServerProcess {
 public:
  // Starts `binary --port 0 <args>` and waits for its "正在监听 http://HOST:PORT" line (after
  // any log lines).
  // On failure address() is empty and output() holds what the server printed.
  ServerProcess(const std::filesystem::path& binary, const std::vector<std::string>& args,
                std::chrono::milliseconds startLimit = std::chrono::seconds(10));
  ~ServerProcess();  // SIGKILL if still running
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;

  const std::string& address() const { return address_; }  // "http://127.0.0.1:PORT"
  const std::string& output() const { return output_; }

  // Reads what the process prints until output() contains `text` (true) or `limit` passes or
  // the process closed its output (false). A process whose output nobody reads blocks once
  // the pipe is full: a test that expects many lines reads them as they come.
  bool waitForOutput(std::string_view text, std::chrono::milliseconds limit = std::chrono::seconds(30));

  // Sends the signal and waits for the process; returns its exit code, or 128 + signal.
  int stop(int signal);
  // Waits for a process that ends on its own (one that refused to start).
  int waitForExit();

 private:
  pid_t pid_ = -1;
  int stdoutFd_ = -1;
  std::string address_;
  std::string output_;
};

// Runs a command to its end; stdout and stderr together.
struct CommandRun {
  int code = -1;
  std::string output;
};
CommandRun runCommand(const std::filesystem::path& binary, const std::vector<std::string>& args);

}  // namespace decor::testing
