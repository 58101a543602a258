#pragma once
// The program once the toolkit is up: the main window, its start-up and the message loop.
#include "app/app_services.h"

namespace decor {

// Returns 0 as soon as the main window is closed, whatever other windows are open or worker
// threads still run; those windows go with the main window and the workers' results are
// dropped.
int runProgram(AppServices services);

// Ends the process once the windows are gone, without running any clean-up at exit. Workers
// that are still fetching (or about to read a price list) would otherwise find the statics
// they use destroyed under them: ours, Qt's, and the at-exit clean-ups of libcurl's TLS
// library.
[[noreturn]] void endProgram(int exitCode);

}  // namespace decor
