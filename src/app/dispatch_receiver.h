#pragma once
// The GUI-thread end of a GuiDispatcher: a child of the window, so it goes with it.
#include <QObject>
#include <memory>

namespace decor {

class GuiDispatcher;

class DispatchReceiver final : public QObject {
  Q_OBJECT

 public:
  DispatchReceiver(std::shared_ptr<GuiDispatcher> dispatcher, QObject* window);

  // Called by name through a queued call from whichever thread posted.
  Q_INVOKABLE void runWaitingTasks();

 private:
  std::shared_ptr<GuiDispatcher> dispatcher_;
};

}  // namespace decor
