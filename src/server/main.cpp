// decor-company-server: the company's server for the estimator, and its staff commands.
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

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
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
