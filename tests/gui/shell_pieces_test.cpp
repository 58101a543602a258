// The small pieces under the windows: the application set-up, input boxes, the worker pool and
// the hand-off to the GUI thread, message boxes, picture buttons and report lists.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QTest>
#include <QTreeWidget>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "app/gui_dispatcher.h"
#include "app/message_box.h"
#include "app/worker_pool.h"
#include "gui_test_support.h"
#include "ui/picture_button.h"
#include "ui/report_list.h"
#include "ui/spin_text_box.h"

namespace decor::test {
namespace {

TEST(SpinTextBox, AreaBoxTakesDecimalTextAndStepsIt) {
  SpinTextBox box;
  box.setMinimum(30);
  box.setMaximum(5000);
  box.setDecimalInput(true);
  box.setEditText(QStringLiteral("100"));
  box.show();
  box.stepUp();
  EXPECT_EQ(box.editText(), QStringLiteral("101"));
  box.stepDown();
  box.stepDown();
  EXPECT_EQ(box.editText(), QStringLiteral("99"));

  box.setEditText(QString());
  typeText(box, QStringLiteral("1a2-.５x.3"));
  EXPECT_EQ(box.editText(), QStringLiteral("12.５3"));

  // Seven characters before the point: the eighth and ninth digits are refused.
  box.setEditText(QString());
  typeText(box, QStringLiteral("123456789.5"));
  EXPECT_EQ(box.editText(), QStringLiteral("1234567.5"));

  box.setEditText(QStringLiteral("4999"));
  QTest::keyClick(&box, Qt::Key_Up);
  QTest::keyClick(&box, Qt::Key_Up);
  EXPECT_EQ(box.editText(), QStringLiteral("5000"));
  QTest::keyClick(&box, Qt::Key_Down);
  EXPECT_EQ(box.editText(), QStringLiteral("4999"));
}

TEST(SpinTextBox, FreeTextBoxTakesAnyTextAndReportsChanges) {
  SpinTextBox box;
  box.setMaximum(10);
  box.setEditText(QStringLiteral("1"));
  QStringList changes;
  QObject::connect(&box, &SpinTextBox::textChanged, [&](const QString& text) { changes << text; });
  box.show();
  box.setEditText(QString());
  QTest::keyClicks(&box, QStringLiteral("-1"));
  box.stepUp();
  EXPECT_EQ(changes, (QStringList{QString(), QStringLiteral("-"), QStringLiteral("-1"), QStringLiteral("0")}));
}

TEST(GuiDispatcher, RunsPostedTasksOnTheGuiThreadUntilClosed) {
  auto window = std::make_unique<QObject>();
  const std::shared_ptr<GuiDispatcher> dispatcher = GuiDispatcher::forWindow(*window);
  std::atomic<int> ran{0};
  std::atomic<bool> onGuiThread{true};
  std::atomic<bool> posted{false};
  std::vector<int> order;
  const Qt::HANDLE guiThread = QThread::currentThreadId();
  WorkerPool workers;
  workers.run([&, dispatcher] {
    dispatcher->post([&] {
      onGuiThread = QThread::currentThreadId() == guiThread;
      ++ran;
    });
    posted = true;
  });
  ASSERT_TRUE(waitUntil([&] { return ran.load() == 1; }));
  EXPECT_TRUE(onGuiThread.load());
  EXPECT_TRUE(posted.load());

  // Several posts in a row all run, in order.
  workers.run([&, dispatcher] {
    for (int i = 0; i < 5; ++i) dispatcher->post([&order, i] { order.push_back(i); });
  });
  ASSERT_TRUE(waitUntil([&] { return order.size() == 5; }));
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));

  window.reset();
  dispatcher->post([&] { ++ran; });
  ASSERT_TRUE(waitUntilQuiet(workers));
  EXPECT_EQ(ran.load(), 1);
}

// Three tasks stand for requests hanging on a silent server until the pool's stop cancels them.
TEST(WorkerPool, ATaskStartsWhileOthersHangAndStopCancelsThenWaitsForEveryOne) {
  using namespace std::chrono_literals;
  std::mutex mutex;
  std::condition_variable changed;
  int hanging = 0;
  int ended = 0;
  bool behindRan = false;
  auto workers = std::make_unique<WorkerPool>();
  const std::shared_ptr<const CancelFlag> cancel = workers->cancelFlag();
  for (int i = 0; i < 3; ++i) {
    workers->run([&, cancel] {
      {
        const std::lock_guard lock(mutex);
        ++hanging;
      }
      changed.notify_all();
      while (!cancel->cancelled()) std::this_thread::sleep_for(5ms);
      std::this_thread::sleep_for(50ms);  // the end of the request takes a moment
      const std::lock_guard lock(mutex);
      ++ended;
    });
  }
  {
    std::unique_lock lock(mutex);
    ASSERT_TRUE(changed.wait_for(lock, 5s, [&] { return hanging == 3; }));
  }
  workers->run([&] {
    {
      const std::lock_guard lock(mutex);
      behindRan = true;
    }
    changed.notify_all();
  });
  {
    std::unique_lock lock(mutex);
    EXPECT_TRUE(changed.wait_for(lock, 5s, [&] { return behindRan; })) << "a task waited behind hanging ones";
  }
  EXPECT_FALSE(cancel->cancelled());

  workers->stop();
  EXPECT_TRUE(cancel->cancelled());
  {
    const std::lock_guard lock(mutex);
    EXPECT_EQ(ended, 3);
  }
  workers->run([&] { ++ended; });  // too late: dropped
  workers.reset();
  EXPECT_EQ(ended, 3);
}

TEST(GuiDispatcher, TasksQueuedForAWindowThatIsGoneAreDropped) {
  WorkerPool workers;
  std::atomic<int> ran{0};
  std::shared_ptr<GuiDispatcher> dispatcher;
  {
    QObject window;
    dispatcher = GuiDispatcher::forWindow(window);
    dispatcher->post([&] { ++ran; });  // queued, never delivered: the window goes first
  }
  dispatcher->post([&] { ++ran; });
  ASSERT_TRUE(waitUntilQuiet(workers));
  EXPECT_EQ(ran.load(), 0);
}

TEST(GuiDispatcher, ATaskThatClosesTheWindowStopsTheTasksBehindIt) {
  WorkerPool workers;
  auto window = std::make_unique<QObject>();
  const std::shared_ptr<GuiDispatcher> dispatcher = GuiDispatcher::forWindow(*window);
  std::vector<int> ran;
  // Both wait in one turn of the queue; the first destroys the window.
  dispatcher->post([&] {
    ran.push_back(1);
    window.reset();
  });
  dispatcher->post([&] { ran.push_back(2); });
  ASSERT_TRUE(waitUntilQuiet(workers));
  EXPECT_EQ(ran, std::vector<int>{1});
}

// main() ran setUpApplication: every window carries the program's icon, and the windows name the
// desktop entry the packages install (share/applications/<name>.desktop).
TEST(ApplicationSetup, WindowIconInEverySizeAndTheDesktopEntryName) {
  EXPECT_EQ(QGuiApplication::desktopFileName(), QStringLiteral("com.tarselcorvalen.DecorEstimator"));
  const QList<QSize> sizes{{16, 16}, {32, 32}, {48, 48}, {256, 256}};
  EXPECT_EQ(QApplication::windowIcon().availableSizes(), sizes);
  QWidget window;
  EXPECT_EQ(window.windowIcon().availableSizes(), sizes);
  for (const QSize& size : sizes) {
    const QImage image = window.windowIcon().pixmap(size).toImage();
    ASSERT_EQ(image.size(), size);
    // Transparent corners around the rounded tile, the tile's blue in the middle of the top edge.
    EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0) << size.width();
    const QColor edge = image.pixelColor(size.width() / 2, size.height() / 8);
    EXPECT_GT(edge.blue(), edge.red() + 40) << size.width();
  }
}

TEST(MessageBox, TaskModalWithCaptionIconTextAndChineseButtons) {
  ModalAnswerer answerer({QMessageBox::Ok});
  const auto pressed = showMessage(QStringLiteral("您输入的房子内容格式不正确\r\n正确格式为   长*宽*高"),
                                   QMessageBox::Information);
  EXPECT_EQ(pressed, QMessageBox::Ok);
  ASSERT_EQ(answerer.seen().size(), 1u);
  const SeenDialog& box = answerer.seen()[0];
  EXPECT_EQ(box.title, QStringLiteral("信息："));
  EXPECT_EQ(box.text, QStringLiteral("您输入的房子内容格式不正确\n正确格式为   长*宽*高"));
  EXPECT_EQ(box.icon, QMessageBox::Information);
  EXPECT_EQ(box.buttons, (QStringList{QStringLiteral("确定")}));
  EXPECT_TRUE(box.applicationModal);

  ModalAnswerer noAnswer({QMessageBox::No});
  EXPECT_EQ(showMessage(QStringLiteral("?"), QMessageBox::Question, QMessageBox::Yes | QMessageBox::No),
            QMessageBox::No);
}

TEST(PictureButton, ShowsTheHoverPictureWhileTheMouseIsOver) {
  QWidget window;
  PictureButton button(&window);
  button.setNormalPicture(QStringLiteral(":/artwork/button_estimate.jpg"));
  button.setHoverPicture(QStringLiteral(":/artwork/button_estimate_hover.jpg"));
  button.setGeometry(0, 0, 123, 31);
  window.show();
  const QImage normal = button.grab().toImage();

  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QApplication::sendEvent(&button, &enter);
  EXPECT_TRUE(button.showsHoverPicture());
  const QImage hover = button.grab().toImage();
  EXPECT_NE(normal, hover);

  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(&button, &leave);
  EXPECT_FALSE(button.showsHoverPicture());
  EXPECT_EQ(button.grab().toImage(), normal);

  int clicks = 0;
  QObject::connect(&button, &QAbstractButton::clicked, [&] { ++clicks; });
  QTest::mouseClick(&button, Qt::LeftButton);
  button.setEnabled(false);
  QTest::mouseClick(&button, Qt::LeftButton);
  EXPECT_EQ(clicks, 1);
}

TEST(ReportList, ColumnsTakeTheirDesignWidths) {
  QTreeWidget list;
  list.setColumnCount(3);

  const ColumnFormat columns[] = {{"甲", 80, ColumnAlignment::Left}, {"乙", 120, ColumnAlignment::Right},
                                  {"丙", 60, ColumnAlignment::Right}};
  list.resize(300, 200);
  setReportColumnWidths(list, columns, 1);
  list.show();  // a hidden list hears of its new size only when shown
  EXPECT_EQ((std::vector<int>{list.columnWidth(0), list.columnWidth(1), list.columnWidth(2)}),
            (std::vector<int>{80, 120, 60}));
  // Grown, the chosen column takes what the list gained; narrower than designed, none shrinks.
  list.resize(450, 200);
  EXPECT_EQ((std::vector<int>{list.columnWidth(0), list.columnWidth(1), list.columnWidth(2)}),
            (std::vector<int>{80, 270, 60}));
  list.resize(200, 200);
  EXPECT_EQ((std::vector<int>{list.columnWidth(0), list.columnWidth(1), list.columnWidth(2)}),
            (std::vector<int>{80, 120, 60}));
}

}  // namespace
}  // namespace decor::test
