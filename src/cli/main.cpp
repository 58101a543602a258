// decor-cli: the estimators without windows, for scripts and for the company's staff.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/commands.h"

namespace {

constexpr const char* kUsage =
    "用法: decor-cli <命令> [选项]\n"
    "\n"
    "命令:\n"
    "  estimate   快速估算报价（decor-cli estimate --help 查看选项）\n"
    "  quote      详细报价（decor-cli quote --help 查看选项）\n";

int run(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    std::cerr << kUsage;
    return 2;
  }
  const std::string& command = args.front();
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (command == "--help" || command == "-h" || command == "help") {
    std::cout << kUsage;
    return 0;
  }
  if (command == "estimate") return decor::cli::runEstimateCommand(rest, std::cout, std::cerr);
  if (command == "quote") return decor::cli::runQuoteCommand(rest, std::cout, std::cerr);
  std::cerr << "decor-cli: 未知命令 \"" << command << "\"\n\n" << kUsage;
  return 2;
}

}  // namespace

// Whatever still escapes ends the program with one line and exit code 1, never an abort.
int main(int argc, char** argv) {
  try {
    return run(argc, argv);
  } catch (const std::exception& e) {
    std::cerr << "decor-cli: 内部错误：" << e.what() << '\n';
  } catch (...) {
    std::cerr << "decor-cli: 内部错误\n";
  }
  return 1;
}
