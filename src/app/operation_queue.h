#pragma once
// Runs operations one at a time, in the order they were asked for. An operation may finish
// later (a worker posts its end back to the GUI thread): the next one starts only when the
// one before has called its `done`. The quotation table's build and its edits go through one
// of these, so an edit never sees a half-built table.
//
// GUI thread only. `done` must be called on the GUI thread, at most once counts, and never
// after the queue is gone (a window's dispatcher drops tasks of a window that is gone).
#include <deque>
#include <functional>

namespace decor {

class OperationQueue {
 public:
  using Done = std::function<void()>;
  using Operation = std::function<void(Done done)>;

  void enqueue(Operation operation);

  // No operation running and none waiting.
  bool idle() const { return !running_ && waiting_.empty(); }

 private:
  void runNext();

  std::deque<Operation> waiting_;
  bool running_ = false;
};

}  // namespace decor
