#include "server_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace decor::testing {
namespace {

constexpr std::string_view kListening = "正在监听 ";

pid_t spawnWithPipe(const std::filesystem::path& binary, const std::vector<std::string>& args, bool mergeStderr,
                    int& readFd) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
  if (mergeStderr) posix_spawn_file_actions_adddup2(&actions, fds[1], STDERR_FILENO);
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
  pid_ = spawnWithPipe(binary, all, true, stdoutFd_);
  if (pid_ < 0) return;
  const auto deadline = std::chrono::steady_clock::now() + startLimit;
  while (output_.find('\n') == std::string::npos) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return;
    pollfd waitForOutput{stdoutFd_, POLLIN, 0};
    if (poll(&waitForOutput, 1, static_cast<int>(left.count())) <= 0) continue;
    char buffer[512];
    const ssize_t got = read(stdoutFd_, buffer, sizeof buffer);
    if (got <= 0) return;  // the server ended before it listened
    output_.append(buffer, static_cast<std::size_t>(got));
  }
  if (output_.starts_with(kListening)) address_ = output_.substr(kListening.size(), output_.find('\n') - kListening.size());
}

ServerProcess::~ServerProcess() {
  if (pid_ > 0) stop(SIGKILL);
  if (stdoutFd_ >= 0) close(stdoutFd_);
}

int ServerProcess::stop(int signal) {
  if (pid_ <= 0) return -1;
  kill(pid_, signal);
  const int code = waitFor(pid_);
  pid_ = -1;
  return code;
}

int ServerProcess::waitForExit() {
  if (pid_ <= 0) return -1;
  const int code = waitFor(pid_);
  pid_ = -1;
  return code;
}

CommandRun runCommand(const std::filesystem::path& binary, const std::vector<std::string>& args) {
  CommandRun run;
  int fd = -1;
  const pid_t pid = spawnWithPipe(binary, args, true, fd);
  if (pid < 0) return run;
  char buffer[4096];
  for (ssize_t got; (got = read(fd, buffer, sizeof buffer)) != 0;) {
    if (got < 0) {
      if (errno == EINTR) continue;
      break;
    }
    run.output.append(buffer, static_cast<std::size_t>(got));
  }
  close(fd);
  run.code = waitFor(pid);
  return run;
}

}  // namespace decor::testing
