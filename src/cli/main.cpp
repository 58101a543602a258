// decor-cli: the estimators without windows, for scripts and for the company's staff.
#include <iostream>
#include <string_view>

int main(int argc, char** argv) {
  if (argc < 2 || std::string_view(argv[1]) == "--help") {
    std::cout << "用法: decor-cli <命令> [选项]\n";
    return argc < 2 ? 2 : 0;
  }
  std::cerr << "decor-cli: 未知命令 " << argv[1] << "\n";
  return 2;
}
