#pragma once
// Hand-off from worker threads to the GUI thread.
//
// Workers never touch widgets: they post a task, which runs later on the GUI thread in the
// context of the window that started them. A window holds a WindowDispatcher; the moment the
// window is destroyed the dispatcher closes, later posts are dropped and posts still queued
// are discarded with the window. A worker that outlives its window (or the whole program's
// windows) therefore does nothing harmful when it finishes.
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class QObject;

namespace decor {

class GuiDispatcher {
 public:
  explicit GuiDispatcher(QObject* context) : context_(context) {}

  // Any thread. Queues `task` to run on the context's thread, unless closed.
  void post(std::function<void()> task);

  // GUI thread, before the context object goes away.
  void close();

 private:
  std::mutex mutex_;
  QObject* context_;
};

// Owned by a window (a member): opens a dispatcher on the window, closes it on destruction.
class WindowDispatcher {
 public:
  explicit WindowDispatcher(QObject* window) : dispatcher_(std::make_shared<GuiDispatcher>(window)) {}
  ~WindowDispatcher() { dispatcher_->close(); }
  WindowDispatcher(const WindowDispatcher&) = delete;
  WindowDispatcher& operator=(const WindowDispatcher&) = delete;

  // What a worker captures.
  std::shared_ptr<GuiDispatcher> get() const { return dispatcher_; }

 private:
  std::shared_ptr<GuiDispatcher> dispatcher_;
};

// Runs `work` on a new thread that is never joined and ends when the work is done.
void startWorker(std::function<void()> work);

}  // namespace decor
