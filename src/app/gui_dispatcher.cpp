#include "app/gui_dispatcher.h"

#include <QMetaObject>
#include <QObject>

namespace decor {

void GuiDispatcher::post(std::function<void()> task) {
  // Holding the lock while queueing keeps close() (and so the context's destruction) from
  // running in between.
  const std::lock_guard lock(mutex_);
  if (context_ == nullptr) return;
  QMetaObject::invokeMethod(context_, std::move(task), Qt::QueuedConnection);
}

void GuiDispatcher::close() {
  const std::lock_guard lock(mutex_);
  context_ = nullptr;
}

void startWorker(std::function<void()> work) { std::thread(std::move(work)).detach(); }

}  // namespace decor
