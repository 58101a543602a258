#include "ui/gui_thread.h"

#include <QCoreApplication>
#include <QThread>
#include <QtGlobal>
#include <atomic>

namespace decor {
namespace {

void stopProgram(const char* where) { qFatal("widget code off the GUI thread: %s", where); }

std::atomic<GuiThreadViolationHandler> violationHandler{&stopProgram};

}  // namespace

bool onGuiThread() {
  const QCoreApplication* app = QCoreApplication::instance();
  return app != nullptr && QThread::currentThread() == app->thread();
}

GuiThreadViolationHandler setGuiThreadViolationHandler(GuiThreadViolationHandler handler) {
  return violationHandler.exchange(handler != nullptr ? handler : &stopProgram);
}

void checkGuiThread(const char* where) {
  if (!onGuiThread()) violationHandler.load()(where);
}

}  // namespace decor
