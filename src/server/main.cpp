// decor-company-server: the company's server for the estimator, and its staff commands.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "server/commands/commands.h"

#if defined(__SANITIZE_THREAD__)
// libmicrohttpd is built without instrumentation: it hands connections between its threads
// under its own locks, which ThreadSanitizer cannot see. Ignore what it reports from inside
// that library; the server's own code stays fully checked.
extern "C" const char* __tsan_default_suppressions() { return "called_from_lib:libmicrohttpd.so.12\n"; }
#endif

namespace {

int runCommand(const std::vector<std::string>& args) {
  if (!args.empty() && args.front() == "inbox") {
    return decor::server::runInboxCommand({args.begin() + 1, args.end()}, std::cout, std::cerr);
  }
  if (!args.empty() && args.front() == "outbox") {
    return decor::server::runOutboxCommand({args.begin() + 1, args.end()}, std::cout, std::cerr);
  }
  if (!args.empty() && args.front() == "prices") {
    return decor::server::runPricesCommand({args.begin() + 1, args.end()}, std::cout, std::cerr);
  }
  return decor::server::runServeCommand(args, std::cout, std::cerr);
}

}  // namespace

int main(int argc, char** argv) {
  // Whatever a command did not expect ends it with a line that says so and a failing exit
  // code, never with an abort that staff cannot tell from a crash.
  try {
    return runCommand(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& e) {
    std::cerr << "decor-company-server: 意外错误，已退出：" << e.what() << std::endl;
  } catch (...) {
    std::cerr << "decor-company-server: 意外错误，已退出" << std::endl;
  }
  return 1;
}
