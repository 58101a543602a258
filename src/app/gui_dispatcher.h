#pragma once
// GuiDispatcher: how a worker thread hands work back to the window that started it.
//
//   std::shared_ptr<GuiDispatcher> dispatcher_ = GuiDispatcher::forWindow(*this);  // a window's member
//   services.workers->run([dispatcher = dispatcher_, this] { ...; dispatcher->post([this] { /* widgets */ }); });
//
// Workers never touch widgets: a posted task runs later on the GUI thread. The dispatcher is
// open while its window lives; once the window is destroyed, later posts are dropped and tasks
// still waiting are discarded, so a worker that outlives its window does nothing harmful.
// A task that throws is reported (qCritical, with the place it was posted) and the tasks behind
// it still run; nothing unwinds through Qt's event loop.
// Tasks wait in a queue of our own under a std::mutex and the GUI thread is only told to look
// (a queued call by name): the hand-over of each task's data is then visible to
// ThreadSanitizer, which cannot see the locks inside the Qt libraries.
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <source_location>
#include <utility>

class QObject;

namespace decor {

class GuiDispatcherChild;

class GuiDispatcher {
 public:
  // GUI thread. Opens a dispatcher on `window`; it closes when the window is destroyed.
  static std::shared_ptr<GuiDispatcher> forWindow(QObject& window);

  // Any thread. Queues `task` to run on the GUI thread, unless the window is gone. `postedAt`
  // names the caller in the report of a task that throws.
  void post(std::function<void()> task, std::source_location postedAt = std::source_location::current());

 private:
  friend class GuiDispatcherChild;  // the window's child that runs the tasks and closes with it

  void runWaitingTasks();  // GUI thread
  void close();            // GUI thread: drops waiting tasks and every later post

  std::mutex mutex_;
  QObject* receiver_ = nullptr;  // the window's child that the GUI thread is told to look at
  std::deque<std::pair<std::function<void()>, std::source_location>> tasks_;
};

}  // namespace decor
