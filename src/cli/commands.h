#pragma once
// The subcommands of decor-cli. Each takes the arguments after its name and returns the
// process exit code; results go to `out`, usage errors to `err`.
#include <iosfwd>
#include <string>
#include <vector>

namespace decor::cli {

int runEstimateCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int runQuoteCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace decor::cli
