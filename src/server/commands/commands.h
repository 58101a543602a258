#pragma once
// decor-company-server's commands. Each takes the arguments after its name (all of them for
// serving) and returns the exit code; results go to `out`, errors to `err`.
#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace decor::server {

// Serves until SIGTERM or SIGINT. Blocks both signals in the calling thread, so call it
// before any other thread exists.
int runServeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int runInboxCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int runOutboxCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int runPricesCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Where the server keeps its data unless told otherwise: $XDG_DATA_HOME, else
// ~/.local/share, then decor-company-server/.
std::filesystem::path defaultDataFolder();

}  // namespace decor::server
