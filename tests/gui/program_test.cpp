// The whole program's run: closing the main window ends it with other windows open and
// workers still fetching, once those workers are done. The end of the message loop is the end of a process (Qt keeps its
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
  std::size_t underWayAtTheEnd = 0;
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
      underWayAtTheEnd = fetcher->requests().size() - fetcher->finishedCount();
      window->close();
      // The held requests go on while the program ends; what they bring back goes nowhere.
      fetcher->release();
    }
  });
  driver.start(20);
  QTimer deadline;
  deadline.setSingleShot(true);
  QObject::connect(&deadline, &QTimer::timeout, [] { QCoreApplication::exit(1); });
  deadline.start(60000);  // only turns a hang into a failure

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

  // The program waited for its workers.
  EXPECT_GE(underWayAtTheEnd, 3u);
  EXPECT_GE(fetcher->finishedCount(), 9u);
  EXPECT_EQ(fetcher->finishedCount(), fetcher->requests().size());
  std::fflush(nullptr);
  std::_Exit(::testing::Test::HasFailure() ? 1 : 0);
}

TEST(ProgramDeathTest, ClosingTheMainWindowEndsItWithOtherWindowsOpenAndWorkersFetching) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(runTheProgramAndCloseItsMainWindow(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace decor::test
