#include "app/worker_pool.h"

#include <utility>

#include "app/task_barrier.h"

namespace decor {

WorkerPool::WorkerPool() = default;

WorkerPool::~WorkerPool() { stop(); }

void WorkerPool::run(std::function<void()> task, std::source_location handedOverAt) {
  const std::lock_guard lock(mutex_);
  if (stopping_) return;
  tasks_.emplace_back(std::move(task), handedOverAt);
  ++taken_;
  // Each idle thread takes one waiting task; a task beyond them gets a thread of its own.
  if (tasks_.size() > idle_) {
    threads_.emplace_back([this] { work(); });
  } else {
    wake_.notify_one();
  }
}

void WorkerPool::stop() {
  {
    const std::lock_guard lock(mutex_);
    if (stopping_) return;
    stopping_ = true;
  }
  cancel_->cancel();
  wake_.notify_all();
  // No thread is added once stopping: the list is this caller's alone now.
  for (std::thread& thread : threads_) thread.join();
  threads_.clear();
}

bool WorkerPool::waitUntilIdle(std::chrono::milliseconds limit) {
  std::unique_lock lock(mutex_);
  // Once stopping, the threads are the stopping caller's alone; stop() has run every task.
  return idleChanged_.wait_for(lock, limit,
                               [this] { return stopping_ || (tasks_.empty() && idle_ == threads_.size()); });
}

std::uint64_t WorkerPool::tasksTaken() const {
  const std::lock_guard lock(mutex_);
  return taken_;
}

void WorkerPool::work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    ++idle_;
    if (tasks_.empty() && idle_ == threads_.size()) idleChanged_.notify_all();
    wake_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
    --idle_;
    // Tasks handed over before the stop still run: their captures may hold a save under way.
    if (tasks_.empty()) return;
    auto [task, handedOverAt] = std::move(tasks_.front());
    tasks_.pop_front();
    lock.unlock();
    runBehindBarrier(task, "WorkerPool", handedOverAt);
    task = nullptr;  // its captures go here, off the lock
    lock.lock();
  }
}

}  // namespace decor
