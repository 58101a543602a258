// How long the GUI thread stays away from its event loop while every server is a black hole
// (it accepts connections and never answers): the main window starts, a quick estimate runs
// and the room entry window opens and closes, several rounds. A 1 ms heartbeat timer measures
// the gaps; the longest is printed. Runs headless unless QT_QPA_PLATFORM says otherwise.
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <string>

#include "app/app_services.h"
#include "app/application_setup.h"
#include "app/main_window.h"
#include "app/result_window.h"
#include "app/room_entry_window.h"
#include "local_http_server.h"
#include "offscreen_qt.h"

namespace {

constexpr int kRounds = 5;

// The main window's two buttons, by the names its form gives them.
QAbstractButton* estimateButton(decor::MainWindow& window) {
  return window.findChild<QAbstractButton*>(QStringLiteral("按钮1"));
}
QAbstractButton* detailedQuoteButton(decor::MainWindow& window) {
  return window.findChild<QAbstractButton*>(QStringLiteral("按钮2"));
}

qint64 threadCpuNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

enum class Step { Start, Settle, Estimate, AwaitResult, AwaitButton, OpenRoomEntry, AwaitRoomEntry, AwaitClosed, Done };

}  // namespace

int main(int argc, char** argv) {
  decor::test::prepareHeadlessQt("decor-bench");
  QApplication app(argc, argv);
  decor::setUpApplication(app);

  decor::test::LocalHttpServer blackHole = decor::test::LocalHttpServer::silent();
  decor::AppServices services = decor::AppServices::forDesktop();
  services.endpoints = decor::Endpoints::allAt(blackHole.address());
  services.openInBrowser = [](const std::string&) {};

  QElapsedTimer clock;
  clock.start();
  qint64 lastBeat = 0;
  qint64 longestGap = 0;
  // The same gaps in CPU time of the GUI thread: what our code costs, apart from the time a
  // busy machine keeps the thread waiting for a core.
  qint64 lastCpu = 0;
  qint64 longestCpuGap = 0;
  // The longest gap after each kind of step, to see which one blocks.
  std::map<std::string, qint64> longestAfter;
  std::string lastAction = "event loop";
  QTimer heartbeat;
  heartbeat.setTimerType(Qt::PreciseTimer);
  QObject::connect(&heartbeat, &QTimer::timeout, [&] {
    const qint64 now = clock.nsecsElapsed();
    const qint64 cpu = threadCpuNanoseconds();
    longestCpuGap = std::max(longestCpuGap, cpu - lastCpu);
    lastCpu = cpu;
    longestGap = std::max(longestGap, now - lastBeat);
    longestAfter[lastAction] = std::max(longestAfter[lastAction], now - lastBeat);
    lastAction = "event loop";
    lastBeat = now;
  });

  // Answers the detailed-quote question with Yes.
  QTimer answerer;
  QObject::connect(&answerer, &QTimer::timeout, [] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->button(QMessageBox::Yes)->click();
  });

  std::unique_ptr<decor::MainWindow> window;
  Step step = Step::Start;
  int round = 0;
  qint64 settleUntil = 0;
  QTimer driver;
  QObject::connect(&driver, &QTimer::timeout, [&] {
    switch (step) {
      case Step::Start:
        lastAction = "main window start";
        window = std::make_unique<decor::MainWindow>(services);
        window->start();
        settleUntil = clock.elapsed() + 200;
        step = Step::Settle;
        break;
      case Step::Settle:
        if (clock.elapsed() >= settleUntil) step = Step::Estimate;
        break;
      case Step::Estimate:
        lastAction = "quick estimate";
        estimateButton(*window)->click();
        step = Step::AwaitResult;
        break;
      case Step::AwaitResult:
        if (decor::ResultWindow* result = window->resultWindow()) {
          lastAction = "result window close";
          result->markSent();  // closes without the question
          result->close();
          step = Step::AwaitButton;
        }
        break;
      case Step::AwaitButton:
        if (estimateButton(*window)->isEnabled()) step = Step::OpenRoomEntry;
        break;
      case Step::OpenRoomEntry:
        step = Step::AwaitRoomEntry;
        lastAction = "room entry open";
        detailedQuoteButton(*window)->click();
        break;
      case Step::AwaitRoomEntry:
        if (decor::RoomEntryWindow* roomEntry = window->roomEntryWindow()) {
          lastAction = "room entry close";
          roomEntry->close();
          step = Step::AwaitClosed;
        }
        break;
      case Step::AwaitClosed:
        if (window->roomEntryWindow() == nullptr) step = ++round < kRounds ? Step::Estimate : Step::Done;
        break;
      case Step::Done:
        driver.stop();
        heartbeat.stop();
        std::printf("GUI responsiveness, every server black-holed, %d rounds of estimate and room entry: "
                    "longest event-loop gap %.1f ms\n",
                    kRounds, double(longestGap) / 1e6);
        std::printf("  longest GUI-thread CPU time between two beats: %.1f ms\n", double(longestCpuGap) / 1e6);
        for (const auto& [action, gap] : longestAfter) std::printf("  after %s: %.1f ms\n", action.c_str(), double(gap) / 1e6);
        std::fflush(stdout);
        // Workers still hang on the black hole: the pool's end cancels them, as in the program.
        QCoreApplication::exit(0);
    }
  });

  QTimer::singleShot(0, [&] {
    lastBeat = clock.nsecsElapsed();
    lastCpu = threadCpuNanoseconds();
    heartbeat.start(1);
    answerer.start(5);
    driver.start(5);
  });
  return QApplication::exec();
}
