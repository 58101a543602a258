#include "server_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "shell_command.h"

extern char** environ;

namespace decor::testing {
namespace {

constexpr std::string_view kListening = "正在监听 ";

pid_t spawnWithPipe(const std::filesystem::path& binary, const std::vector<std::string>& args, int& readFd) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, fds[1], STDERR_FILENO);
  std::vector<std::string> argvText{binary.string()};
  argvText.insert(argvText.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& arg : argvText) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawn(&pid, binary.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  readFd = fds[0];
  return pid;
}

int waitFor(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
}

}  // namespace

ServerProcess::ServerProcess(const std::filesystem::path& binary, const std::vector<std::string>& args,
                             std::chrono::milliseconds startLimit) {
  std::vector<std::string> all{"--port", "0"};
  all.insert(all.end(), args.begin(), args.end());
  pid_ = spawnWithPipe(binary, all, stdoutFd_);
  if (pid_ < 0) return;
  const auto deadline = std::chrono::steady_clock::now() + startLimit;
  // The listening line may follow log lines on stderr.
  const auto listening = [this]() -> std::size_t {
    for (std::size_t line = 0; line < output_.size(); line = output_.find('\n', line) + 1) {
      if (output_.compare(line, kListening.size(), kListening) == 0 && output_.find('\n', line) != std::string::npos) {
        return line;
      }
      if (output_.find('\n', line) == std::string::npos) break;
    }
    return std::string::npos;
  };
  while (listening() == std::string::npos) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return;
    pollfd waitForOutput{stdoutFd_, POLLIN, 0};
    if (poll(&waitForOutput, 1, static_cast<int>(left.count())) <= 0) continue;
    char buffer[512];
    const ssize_t got = read(stdoutFd_, buffer, sizeof buffer);
    if (got <= 0) return;  // the server ended before it listened
    output_.append(buffer, static_cast<std::size_t>(got));
  }
  const std::size_t line = listening();
  if (line != std::string::npos) {
    const std::size_t start = line + kListening.size();
    address_ = output_.substr(start, output_.find('\n', start) - start);
  }
}

bool ServerProcess::waitForOutput(std::string_view text, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (output_.find(text) == std::string::npos) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0 || stdoutFd_ < 0) return false;
    pollfd waitForOutput{stdoutFd_, POLLIN, 0};
    if (poll(&waitForOutput, 1, static_cast<int>(left.count())) <= 0) continue;
    char buffer[4096];
    const ssize_t got = read(stdoutFd_, buffer, sizeof buffer);
    if (got <= 0) return false;
    output_.append(buffer, static_cast<std::size_t>(got));
  }
  return true;
}

ServerProcess::~ServerProcess() {
  if (pid_ > 0) stop(SIGKILL);
  if (stdoutFd_ >= 0) close(stdoutFd_);
}

int ServerProcess::stop(int signal) {
  if (pid_ > 0) kill(pid_, signal);
  return waitForExit();
}

int ServerProcess::waitForExit() {
  if (pid_ <= 0) return -1;
  const int code = waitFor(pid_);
  pid_ = -1;
  return code;
}

CommandRun runCommand(const std::filesystem::path& binary, const std::vector<std::string>& args) {
  // Each word in single quotes, a quote inside one written as '\''.
  const auto quoted = [](const std::string& word) {
    std::string text = "'";
    for (const char c : word) text += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return text + "' ";
  };
  std::string command = quoted(binary.string());
  for (const std::string& arg : args) command += quoted(arg);
  const test::ShellResult run = test::runShell(command + "2>&1");
  return {run.exitCode, run.output};
}

}  // namespace decor::testing
