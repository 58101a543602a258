#pragma once
// The program once the toolkit is up: the main window, its start-up and the message loop.
#include "app/app_services.h"

namespace decor {

// Returns 0 once the main window is closed, whatever other windows are open or worker
// threads still run: those windows go with the main window, the workers' results are dropped,
// their requests are cancelled and the workers joined (a save under way finishes first).
int runProgram(AppServices services);

}  // namespace decor
