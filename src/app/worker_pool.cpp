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

void WorkerPool::work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    ++idle_;
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
