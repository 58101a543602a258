#pragma once
// The barrier around a task that runs on another thread's turn: the worker pool's tasks and
// the tasks posted back to the GUI thread. An exception must end neither the program (one
// leaving a worker thread calls std::terminate) nor unwind through Qt's event loop, and it
// must not vanish either: it is reported with qCritical, naming the runner, the place the
// task was handed over and what was thrown, and the runner goes on with its next task.
#include <functional>
#include <source_location>

namespace decor {

// Runs `task`; false when it threw, after reporting it.
bool runBehindBarrier(const std::function<void()>& task, const char* runner, const std::source_location& handedOverAt);

}  // namespace decor
