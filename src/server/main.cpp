// decor-company-server: the company's server for the estimator, and its staff commands.
#include <iostream>
#include <string>
#include <vector>

#include "server/commands.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (!args.empty() && args.front() == "inbox") {
    return decor::server::runInboxCommand({args.begin() + 1, args.end()}, std::cout, std::cerr);
  }
  if (!args.empty() && args.front() == "prices") {
    return decor::server::runPricesCommand({args.begin() + 1, args.end()}, std::cout, std::cerr);
  }
  return decor::server::runServeCommand(args, std::cout, std::cerr);
}
