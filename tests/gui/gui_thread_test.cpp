// The GUI-thread check: silent on the GUI thread, and a task or helper reached from a worker
// is caught, which ThreadSanitizer alone would not see.
#include <gtest/gtest.h>

#include <QApplication>
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/gui_dispatcher.h"
#include "app/worker_pool.h"
#include "gui_test_support.h"
#include "ui/gui_thread.h"

namespace decor::test {
namespace {

std::mutex violationsMutex;
std::vector<std::string> violations;

void recordViolation(const char* where) {
  const std::lock_guard lock(violationsMutex);
  violations.emplace_back(where);
}

// Records failed checks instead of stopping the program, for the length of a test.
class GuiThreadCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    violations.clear();
    previous_ = setGuiThreadViolationHandler(&recordViolation);
  }
  void TearDown() override { setGuiThreadViolationHandler(previous_); }
  std::vector<std::string> recorded() {
    const std::lock_guard lock(violationsMutex);
    return violations;
  }

 private:
  GuiThreadViolationHandler previous_ = nullptr;
};

TEST_F(GuiThreadCheckTest, OnlyTheGuiThreadPasses) {
  EXPECT_TRUE(onGuiThread());
  checkGuiThread("on the GUI thread");
  bool workerOnGuiThread = true;
  std::thread([&] {
    workerOnGuiThread = onGuiThread();
    checkGuiThread("from a worker");
  }).join();
  EXPECT_FALSE(workerOnGuiThread);
  EXPECT_EQ(recorded(), (std::vector<std::string>{"from a worker"}));
}

#if !defined(NDEBUG) || defined(DECOR_GUI_THREAD_CHECKS)
// A task run by the dispatcher off the GUI thread (here: the receiver called directly from a
// worker, as a wrong connection type would) is caught before it runs.
TEST_F(GuiThreadCheckTest, DispatchedTasksCheckTheirThread) {
  QObject window;
  const std::shared_ptr<GuiDispatcher> dispatcher = GuiDispatcher::forWindow(window);
  QObject* receiver = window.findChild<QObject*>(QStringLiteral("guiDispatcher"));
  ASSERT_NE(receiver, nullptr);
  std::atomic<int> ran{0};
  dispatcher->post([&] { ++ran; });
  std::thread([&] { QMetaObject::invokeMethod(receiver, "runWaitingTasks", Qt::DirectConnection); }).join();
  EXPECT_EQ(ran.load(), 1);
  EXPECT_EQ(recorded(), (std::vector<std::string>{"a task posted through GuiDispatcher"}));

  // The normal way, posted from a worker and run by the event loop: no complaint.
  WorkerPool workers;
  workers.run([dispatcher, &ran] { dispatcher->post([&ran] { ++ran; }); });
  ASSERT_TRUE(waitUntil([&] { return ran.load() == 2; }));
  EXPECT_EQ(recorded().size(), 1u);
}
#endif

}  // namespace
}  // namespace decor::test
