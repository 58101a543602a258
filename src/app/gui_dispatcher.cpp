#include "app/gui_dispatcher.h"

#include <QMetaObject>
#include <QObject>
#include <thread>

#include "app/dispatch_receiver.h"

namespace decor {

void GuiDispatcher::open(DispatchReceiver* receiver) {
  const std::lock_guard lock(mutex_);
  receiver_ = receiver;
}

void GuiDispatcher::post(std::function<void()> task) {
  // The lock also keeps close() (and with it the receiver's end) from running in between.
  const std::lock_guard lock(mutex_);
  if (receiver_ == nullptr) return;
  tasks_.push_back(std::move(task));
  if (tasks_.size() == 1) QMetaObject::invokeMethod(receiver_, "runWaitingTasks", Qt::QueuedConnection);
}

void GuiDispatcher::close() {
  std::deque<std::function<void()>> dropped;
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
    std::function<void()> task;
    {
      const std::lock_guard lock(mutex_);
      if (receiver_ == nullptr || tasks_.empty()) return;
      task = std::move(tasks_.front());
      tasks_.pop_front();
    }
    task();
  }
  const std::lock_guard lock(mutex_);
  if (receiver_ != nullptr && !tasks_.empty()) {
    QMetaObject::invokeMethod(receiver_, "runWaitingTasks", Qt::QueuedConnection);
  }
}

DispatchReceiver::DispatchReceiver(std::shared_ptr<GuiDispatcher> dispatcher, QObject* window)
    : QObject(window), dispatcher_(std::move(dispatcher)) {}

void DispatchReceiver::runWaitingTasks() { dispatcher_->runWaitingTasks(); }

WindowDispatcher::WindowDispatcher(QObject* window) : dispatcher_(std::make_shared<GuiDispatcher>()) {
  dispatcher_->open(new DispatchReceiver(dispatcher_, window));
}

WindowDispatcher::~WindowDispatcher() { dispatcher_->close(); }

void startWorker(std::function<void()> work) { std::thread(std::move(work)).detach(); }

}  // namespace decor
