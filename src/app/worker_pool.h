#pragma once
// WorkerPool: the threads the windows run their slow work on (lookups, the counter, the
// chat status, estimates, quotation builds and commands, saves).
//
//   services.workers->run([dispatcher = dispatcher_, this] { ...; dispatcher->post([this] { /* widgets */ }); });
//
// A task starts at once: on a thread that is idle, or on a new one when every thread is busy,
// so that a request hanging on a silent server never holds up an estimate behind it. Threads
// stay for later tasks. Results go back to the GUI thread only through a GuiDispatcher.
//
// A task that throws is reported (qCritical, with the place it was handed over) and the thread
// goes on with the next one: the program neither ends nor loses the failure.
//
// stop() ends the pool: it cancels the HTTP transfers that use cancelFlag(), lets every task
// already handed over run to its end (a save then finishes and renames its file) and joins
// the threads. A task never holds the pool itself, so the pool is never destroyed on one of
// its own threads.
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <source_location>
#include <thread>
#include <utility>
#include <vector>

#include "net/http_client.h"

namespace decor {

class WorkerPool {
 public:
  WorkerPool();
  ~WorkerPool();  // stops the pool
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  // Any thread. Runs `task` on one of the pool's threads; dropped once the pool is stopping.
  // `handedOverAt` names the caller in the report of a task that throws.
  void run(std::function<void()> task, std::source_location handedOverAt = std::source_location::current());

  // Call once the windows are gone: a cancelled request fails, and no window may be left to
  // show that failure. Not from a task. Later calls do nothing.
  void stop();

  // Any thread but the pool's own. Returns true once no task is waiting or running, false when
  // `limit` passes first. Tests wait on it before checking that something did not happen.
  bool waitUntilIdle(std::chrono::milliseconds limit);

  // How many tasks run() has taken so far: a caller that sees the pool idle twice with the same
  // count knows that nothing ran in between.
  std::uint64_t tasksTaken() const;

  // Set by stop(); the program's HTTP reader and form poster watch it.
  std::shared_ptr<const CancelFlag> cancelFlag() const { return cancel_; }

 private:
  void work();

  const std::shared_ptr<CancelFlag> cancel_ = std::make_shared<CancelFlag>();
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idleChanged_;
  std::deque<std::pair<std::function<void()>, std::source_location>> tasks_;
  std::vector<std::thread> threads_;
  std::size_t idle_ = 0;
  std::uint64_t taken_ = 0;
  bool stopping_ = false;
};

}  // namespace decor
