#pragma once
// A real SMTP server for the mail tests (scripts/mail-catcher.py on aiosmtpd), and what it
// received read back by Python's email package (read_mail.py).
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "server_process.h"
#include "shell_command.h"

namespace decor::server {

const std::filesystem::path kMailCatcher = DECOR_MAIL_CATCHER;
const std::filesystem::path kMailReader = DECOR_MAIL_READER;

// The catcher on a free port of 127.0.0.1 (or on `port` when given, to come back after an
// outage on the same address), keeping each message in `folder`.
inline std::unique_ptr<testing::ServerProcess> startCatcher(const std::filesystem::path& folder, int port = 0,
                                                            const std::vector<std::string>& refused = {}) {
  std::vector<std::string> args{"--folder", folder.string(), "--port", std::to_string(port)};
  for (const auto& address : refused) args.insert(args.end(), {"--refuse", address});
  return std::make_unique<testing::ServerProcess>(kMailCatcher, args);
}

inline int portOf(const std::string& address) { return std::stoi(address.substr(address.rfind(':') + 1)); }

// Every message received, one block each, sorted (read_mail.py).
inline std::string receivedMail(const std::filesystem::path& folder, const std::string& mode = "") {
  return test::runShell("/usr/bin/python3 " + kMailReader.string() + " " + mode + " '" + folder.string() + "'").output;
}

inline std::size_t messagesIn(const std::filesystem::path& folder) {
  std::size_t count = 0;
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ignored)) {
    if (entry.path().extension() == ".eml") ++count;
  }
  return count;
}

inline bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(60)) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

}  // namespace decor::server
