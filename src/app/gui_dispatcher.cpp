#include "app/gui_dispatcher.h"

#include <QMetaObject>
#include <QObject>

#include "app/task_barrier.h"
#include "ui/gui_thread.h"

namespace decor {

// A child of the window: the GUI thread's end of the queue. It goes with the window and
// closes the dispatcher as it goes; queued calls still on their way to it are then dropped.
class GuiDispatcherChild final : public QObject {
  Q_OBJECT

 public:
  GuiDispatcherChild(std::shared_ptr<GuiDispatcher> dispatcher, QObject& window)
      : QObject(&window), dispatcher_(std::move(dispatcher)) {
    setObjectName(QStringLiteral("guiDispatcher"));
  }

  ~GuiDispatcherChild() override {
    DECOR_EXPECT_GUI_THREAD("GuiDispatcher closing with its window");
    dispatcher_->close();
  }

  // Called by name through a queued call from whichever thread posted.
  Q_INVOKABLE void runWaitingTasks() {
    // A task may destroy the window and this child with it: the dispatcher must outlive the run.
    const std::shared_ptr<GuiDispatcher> dispatcher = dispatcher_;
    dispatcher->runWaitingTasks();
  }

 private:
  std::shared_ptr<GuiDispatcher> dispatcher_;
};

std::shared_ptr<GuiDispatcher> GuiDispatcher::forWindow(QObject& window) {
  auto dispatcher = std::make_shared<GuiDispatcher>();
  auto* child = new GuiDispatcherChild(dispatcher, window);
  const std::lock_guard lock(dispatcher->mutex_);
  dispatcher->receiver_ = child;
  return dispatcher;
}

void GuiDispatcher::post(std::function<void()> task, std::source_location postedAt) {
  // The lock also keeps close() (and with it the receiver's end) from running in between.
  const std::lock_guard lock(mutex_);
  if (receiver_ == nullptr) return;
  tasks_.emplace_back(std::move(task), postedAt);
  if (tasks_.size() == 1) QMetaObject::invokeMethod(receiver_, "runWaitingTasks", Qt::QueuedConnection);
}

void GuiDispatcher::close() {
  std::deque<std::pair<std::function<void()>, std::source_location>> dropped;
  {
    const std::lock_guard lock(mutex_);
    receiver_ = nullptr;
    dropped.swap(tasks_);
  }
}

void GuiDispatcher::runWaitingTasks() {
  // One task at a time, each after checking that the window is still there: a task may close
  // it, and the tasks behind it must then not run. Only the tasks waiting now run in this
  // turn, so a busy worker cannot keep the event loop from painting.
  std::size_t budget = 0;
  {
    const std::lock_guard lock(mutex_);
    budget = tasks_.size();
  }
  for (; budget > 0; --budget) {
    std::pair<std::function<void()>, std::source_location> task;
    {
      const std::lock_guard lock(mutex_);
      if (receiver_ == nullptr || tasks_.empty()) return;
      task = std::move(tasks_.front());
      tasks_.pop_front();
    }
    // Every posted task touches widgets; the queued call must have brought it here.
    DECOR_EXPECT_GUI_THREAD("a task posted through GuiDispatcher");
    runBehindBarrier(task.first, "GuiDispatcher", task.second);
  }
  const std::lock_guard lock(mutex_);
  if (receiver_ != nullptr && !tasks_.empty()) {
    QMetaObject::invokeMethod(receiver_, "runWaitingTasks", Qt::QueuedConnection);
  }
}

}  // namespace decor

#include "gui_dispatcher.moc"
