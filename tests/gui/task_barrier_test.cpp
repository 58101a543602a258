// A task that throws, on a worker or posted back to the GUI thread, is reported with what it
// threw and where it was handed over, and the runner goes on with the next task.
#include <gtest/gtest.h>

#include <QObject>
#include <QtGlobal>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <source_location>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/gui_dispatcher.h"
#include "app/worker_pool.h"
#include "gui_test_support.h"

namespace decor::test {
namespace {

// Collects the qCritical lines while it lives; the pool reports from its own threads.
class CriticalMessages {
 public:
  CriticalMessages() {
    const std::lock_guard lock(mutex());
    current() = this;
    previous_ = qInstallMessageHandler(&CriticalMessages::handle);
  }
  ~CriticalMessages() {
    qInstallMessageHandler(previous_);
    const std::lock_guard lock(mutex());
    current() = nullptr;
  }
  CriticalMessages(const CriticalMessages&) = delete;
  CriticalMessages& operator=(const CriticalMessages&) = delete;

  std::vector<std::string> lines() const {
    const std::lock_guard lock(mutex());
    return lines_;
  }

 private:
  static std::mutex& mutex() {
    static std::mutex m;
    return m;
  }
  static CriticalMessages*& current() {
    static CriticalMessages* instance = nullptr;
    return instance;
  }
  static void handle(QtMsgType type, const QMessageLogContext&, const QString& message) {
    const std::lock_guard lock(mutex());
    if (type == QtCriticalMsg && current() != nullptr) current()->lines_.push_back(message.toStdString());
  }

  QtMessageHandler previous_ = nullptr;
  std::vector<std::string> lines_;
};

// The one report expected: the runner, the place (the file's path depends on the build, its
// name and the line do not) and what was thrown.
void expectReport(const std::vector<std::string>& lines, const std::string& runner, const std::source_location& where,
                  const std::string& reported) {
  ASSERT_EQ(lines.size(), 1u);
  const std::string& line = lines.front();
  EXPECT_TRUE(line.starts_with(runner + ": a task handed over at ")) << line;
  EXPECT_TRUE(line.ends_with("/task_barrier_test.cpp:" + std::to_string(where.line()) + " failed: " + reported)) << line;
}

struct Thrower {
  const char* name;
  std::function<void()> task;
  std::string reported;  // what the report names as thrown
};

std::vector<Thrower> throwers() {
  return {
      {"std::exception", [] { throw std::out_of_range("no row 7"); }, "no row 7"},
      {"anything else", [] { throw 7; }, "an exception that is no std::exception"},
  };
}

TEST(TaskBarrier, AThrowingWorkerTaskIsReportedAndTheNextTaskRuns) {
  WorkerPool workers;
  for (const Thrower& thrower : throwers()) {
    SCOPED_TRACE(thrower.name);
    const CriticalMessages messages;
    const std::source_location where = std::source_location::current();
    workers.run(thrower.task, where);
    ASSERT_TRUE(waitUntil([&] { return !messages.lines().empty(); }));
    expectReport(messages.lines(), "WorkerPool", where, thrower.reported);
    std::atomic<bool> nextRan{false};
    workers.run([&] { nextRan = true; });
    EXPECT_TRUE(waitUntil([&] { return nextRan.load(); }));
  }
}

TEST(TaskBarrier, AThrowingPostedTaskIsReportedAndTheTasksBehindItRun) {
  auto window = std::make_unique<QObject>();
  const std::shared_ptr<GuiDispatcher> dispatcher = GuiDispatcher::forWindow(*window);
  for (const Thrower& thrower : throwers()) {
    SCOPED_TRACE(thrower.name);
    const CriticalMessages messages;
    bool behindRan = false;
    // Both wait in one turn of the queue: the second runs although the first threw.
    const std::source_location where = std::source_location::current();
    dispatcher->post(thrower.task, where);
    dispatcher->post([&] { behindRan = true; });
    ASSERT_TRUE(waitUntil([&] { return behindRan; }));
    expectReport(messages.lines(), "GuiDispatcher", where, thrower.reported);
  }
}

}  // namespace
}  // namespace decor::test
