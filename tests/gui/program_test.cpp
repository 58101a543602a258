// The whole program's run: closing the main window ends it with other windows open and
// workers still fetching. The end of the message loop is the end of a process (Qt keeps its
// quit state afterwards), so the run happens in a child process of its own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "app/main_window.h"
#include "app/program.h"
#include "app/result_window.h"
#include "app/room_entry_window.h"
#include "gui_test_support.h"
#include "ui/picture_button.h"

namespace decor::test {
namespace {

MainWindow* openMainWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* window = qobject_cast<MainWindow*>(widget); window != nullptr && window->isVisible()) return window;
  }
  return nullptr;
}

void runTheProgramAndCloseItsMainWindow() {
  auto fetcher = std::make_shared<ScriptedFetcher>();
  AppServices services = testServices(fetcher);
  fetcher->hold();  // every request stays under way

  bool roomEntryWasOpen = false;
  bool resultWasOpen = false;
  int step = 0;
  QTimer driver;
  QObject::connect(&driver, &QTimer::timeout, [&] {
    MainWindow* window = openMainWindow();
    if (window == nullptr) return;
    if (step == 0) {
      ++step;
      ModalAnswerer answerer({QMessageBox::Yes});
      control<PictureButton>(*window, "按钮2")->click();
      roomEntryWasOpen = window->roomEntryWindow() != nullptr && window->roomEntryWindow()->isVisible();
      control<PictureButton>(*window, "按钮1")->click();
    } else if (step == 1 && window->resultWindow() != nullptr) {
      ++step;
      resultWasOpen = window->resultWindow()->isVisible();
      window->close();
    }
  });
  driver.start(20);
  QTimer deadline;
  deadline.setSingleShot(true);
  QObject::connect(&deadline, &QTimer::timeout, [] { QCoreApplication::exit(1); });
  deadline.start(10000);

  EXPECT_EQ(runProgram(services), 0);
  EXPECT_TRUE(deadline.isActive()) << "the program did not end when its main window closed";
  driver.stop();
  EXPECT_TRUE(roomEntryWasOpen);
  EXPECT_TRUE(resultWasOpen);
  flushDeletes();
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    EXPECT_FALSE(qobject_cast<MainWindow*>(widget) || qobject_cast<RoomEntryWindow*>(widget) ||
                 qobject_cast<ResultWindow*>(widget))
        << widget->metaObject()->className();
  }

  // The workers finish after the end; what they hand back goes nowhere.
  const std::size_t started = fetcher->requests().size();
  EXPECT_GE(started, 3u);
  fetcher->release();
  EXPECT_TRUE(waitUntil([&] { return fetcher->finishedCount() >= 9; }));
  std::fflush(nullptr);
  std::_Exit(::testing::Test::HasFailure() ? 1 : 0);
}

TEST(ProgramDeathTest, ClosingTheMainWindowEndsItWithOtherWindowsOpenAndWorkersFetching) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(runTheProgramAndCloseItsMainWindow(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace decor::test
