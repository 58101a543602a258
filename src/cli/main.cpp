// decor-cli: the estimators without windows, for scripts and for the company's staff.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/commands.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace {

constexpr const char* kUsage =
    "用法: decor-cli <命令> [选项]\n"
    "\n"
    "命令:\n"
    "  estimate   快速估算报价（decor-cli estimate --help 查看选项）\n"
    "  quote      详细报价（decor-cli quote --help 查看选项）\n";

int run(const std::vector<std::string>& args) {
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

#ifdef _WIN32
std::string utf8FromWide(const wchar_t* wide) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8.data(), size, nullptr, nullptr);
  utf8.pop_back();  // the terminating zero
  return utf8;
}
#endif

}  // namespace

// Whatever still escapes ends the program with one line and exit code 1, never an abort.
#ifdef _WIN32
// The wide command line, so that arguments outside the ANSI code page (1252 on most Western
// systems) arrive intact. Output is the same UTF-8 bytes as on Linux: binary streams, no "\r"
// added; a console shows them as Chinese once its code page is 65001.
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(utf8FromWide(argv[i]));
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  SetConsoleOutputCP(CP_UTF8);
#else
int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
#endif
  try {
    return run(args);
  } catch (const std::exception& e) {
    std::cerr << "decor-cli: 内部错误：" << e.what() << '\n';
  } catch (...) {
    std::cerr << "decor-cli: 内部错误\n";
  }
  return 1;
}
