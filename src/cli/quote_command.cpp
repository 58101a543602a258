#include <ostream>

#include "cli/commands.h"

namespace decor::cli {

// Not available yet in this build.
int runQuoteCommand(const std::vector<std::string>&, std::ostream&, std::ostream& err) {
  err << "decor-cli: quote 尚未实现\n";
  return 2;
}

}  // namespace decor::cli
