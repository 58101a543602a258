#pragma once
// Hand-off from worker threads to the GUI thread.
//
// Workers never touch widgets: they post a task, which runs later on the GUI thread in the
// context of the window that started them. A window holds a WindowDispatcher; the moment the
// window is destroyed the dispatcher closes, later posts are dropped and tasks still waiting
// are discarded. A worker that outlives its window (or every window of the program)
// therefore does nothing harmful when it finishes.
//
// Tasks wait in a queue of our own under a std::mutex and the GUI thread is only told to
// look (a queued call by name): the hand-over of each task's data is then visible to
// ThreadSanitizer, which cannot see the locks inside the Qt libraries.
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

class QObject;

namespace decor {

class DispatchReceiver;

class GuiDispatcher {
 public:
  GuiDispatcher() = default;

  // Any thread. Queues `task` to run on the GUI thread, unless closed.
  void post(std::function<void()> task);

  // GUI thread, before the window goes: drops waiting tasks and every later post.
  void close();

 private:
  friend class DispatchReceiver;
  friend class WindowDispatcher;

  void open(DispatchReceiver* receiver);
  void runWaitingTasks();  // GUI thread

  std::mutex mutex_;
  DispatchReceiver* receiver_ = nullptr;
  std::deque<std::function<void()>> tasks_;
};

// Owned by a window (a member): opens a dispatcher on the window, closes it on destruction.
class WindowDispatcher {
 public:
  explicit WindowDispatcher(QObject* window);
  ~WindowDispatcher();
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
