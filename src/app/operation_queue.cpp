#include "app/operation_queue.h"

#include <memory>

namespace decor {

void OperationQueue::enqueue(Operation operation) {
  waiting_.push_back(std::move(operation));
  runNext();
}

void OperationQueue::runNext() {
  while (!running_ && !waiting_.empty()) {
    Operation operation = std::move(waiting_.front());
    waiting_.pop_front();
    running_ = true;
    // A second call of the same `done` must not end the operation that runs after it.
    auto finished = std::make_shared<bool>(false);
    operation([this, finished] {
      if (*finished) return;
      *finished = true;
      running_ = false;
      runNext();
    });
  }
}

}  // namespace decor
