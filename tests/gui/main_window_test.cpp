// The main window's behaviour: start-up, the quick estimate, the way into the detailed
// quote, the grade's caption, the links, and ending while workers still run.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

#include "app/main_window.h"
#include "app/result_window.h"
#include "app/room_entry_window.h"
#include "gui_test_support.h"
#include "pricing/price_defaults.h"
#include "ui/picture_box.h"
#include "ui/picture_button.h"
#include "ui/spin_text_box.h"

namespace decor::test {
namespace {

const QString kOfflineCounter = QStringLiteral("TarselCorvalen装饰公司报价评估工具 － 已帮助  位业主预算过报价！");
const QString kCounter123 = QStringLiteral("TarselCorvalen装饰公司报价评估工具 － 已帮助 123 位业主预算过报价！");
const QString kDetailedQuoteQuestion = QStringLiteral("确定进入详细报价吗？方便快速的报价请点   估算报价    哦！");

template <typename Window>
int openWindowsOf() {
  int count = 0;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (qobject_cast<Window*>(widget) != nullptr && widget->isVisible()) ++count;
  }
  return count;
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fetcher_->answer(services_.endpoints.counterUrl(), "123");
    window_ = std::make_unique<MainWindow>(services_);
  }
  void TearDown() override {
    if (ResultWindow* result = window_->resultWindow()) result->markSent();
    window_.reset();
    flushDeletes();
  }

  // The window's controls by what they are for.
  PictureButton* estimateButton() { return control<PictureButton>(*window_, "按钮1"); }
  PictureButton* detailedQuoteButton() { return control<PictureButton>(*window_, "按钮2"); }
  QLabel* counterLabel() { return control<QLabel>(*window_, "标签17"); }
  PictureBox* chatStatusPicture() { return control<PictureBox>(*window_, "图片框1"); }
  QComboBox* gradeBox() { return control<QComboBox>(*window_, "组合框1"); }

  // Starts the window and waits for the start-up worker's five requests.
  void startAndSettle() {
    window_->start();
    ASSERT_TRUE(waitUntil([&] { return fetcher_->finishedCount() >= 5; }));
    ASSERT_TRUE(waitUntil([&] { return counterLabel()->text() == kCounter123; }));
  }

  std::shared_ptr<ScriptedFetcher> fetcher_ = std::make_shared<ScriptedFetcher>();
  std::shared_ptr<BrowserLog> browser_ = std::make_shared<BrowserLog>();
  AppServices services_ = testServices(fetcher_, browser_);
  std::unique_ptr<MainWindow> window_;
};

TEST(MainWindowStartUp, WithoutNetworkShowsEmptyCounterNoPictureAndDefaultPrices) {
  AppServices services = testServices(std::make_shared<OfflineUrlFetcher>());
  // Before the created handler every price reads empty.
  EXPECT_EQ(services.state->prices.estimatePrice("帖砖费用"), 0);
  EXPECT_EQ(services.state->prices.itemPrice("实木门"), "");

  MainWindow window(services);
  window.start();
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.focusWidget(), control<PictureButton>(window, "按钮1"));
  EXPECT_EQ(services.state->prices.estimatePrice("帖砖费用"), 35);
  EXPECT_EQ(services.state->prices.itemPrice("实木门"), "1480");

  EXPECT_TRUE(waitUntil([&] { return control<QLabel>(window, "标签17")->text() == kOfflineCounter; }))
      << control<QLabel>(window, "标签17")->text().toStdString();
  EXPECT_TRUE(control<PictureBox>(window, "图片框1")->pixmap().isNull());
  // The failed price files leave the defaults alone.
  ASSERT_TRUE(waitUntilQuiet(*services.workers));
  EXPECT_EQ(services.state->prices.estimatePrice("帖砖费用"), 35);
  EXPECT_EQ(services.state->prices.itemPrice("实木门"), "1480");
}

TEST_F(MainWindowTest, StartUpWorkerFetchesPictureCounterAndPriceFilesInOrder) {
  fetcher_->answer(services_.endpoints.chatStatusPictureUrl(), statusPictureBytes());
  fetcher_->answer(services_.endpoints.estimatePriceFileUrl(),
                   "<configuration><appSettings><add key=\"帖砖费用\" value=\"40\" /></appSettings></configuration>");
  startAndSettle();

  EXPECT_EQ(fetcher_->requests(), (std::vector<std::string>{
                                      "http://127.0.0.1:9/pa?p=2:12345:41",
                                      "http://127.0.0.1:9/bjtj/",
                                      "http://127.0.0.1:9/bjtj/love.txt",
                                      "http://127.0.0.1:9/bj/AppConfig.xml",
                                      "http://127.0.0.1:9/bj/Xiangxi.xml",
                                  }));
  EXPECT_EQ(chatStatusPicture()->pixmap().size(), QSize(77, 22));
  // AppConfig.xml replaced the estimate half; Xiangxi.xml failed, so the item half kept its defaults.
  EXPECT_TRUE(waitUntil([&] { return services_.state->prices.estimatePrice("帖砖费用") == 40; }));
  EXPECT_EQ(services_.state->prices.estimatePrice("乳胶漆费用"), 0);
  EXPECT_EQ(services_.state->prices.itemPrice("实木门"), "1480");
}

TEST_F(MainWindowTest, EstimateInputIsReadFromTheControls) {
  const QuickEstimateInput defaults = window_->estimateInput();
  EXPECT_EQ((std::tuple(defaults.bedrooms, defaults.halls, defaults.kitchens, defaults.bathrooms, defaults.balconies,
                        defaults.area, defaults.grade)),
            (std::tuple(3, 1, 1, 1, 2, std::string("100"), std::string("舒适型装修"))));

  control<QComboBox>(*window_, "室")->setCurrentIndex(4);
  control<QComboBox>(*window_, "厅")->setCurrentIndex(0);
  control<QComboBox>(*window_, "厨")->setCurrentIndex(2);
  control<QComboBox>(*window_, "卫")->setCurrentIndex(3);
  control<QComboBox>(*window_, "阳")->setCurrentIndex(9);
  control<SpinTextBox>(*window_, "平方")->setEditText(QStringLiteral("１２０"));
  gradeBox()->setCurrentIndex(3);
  const QuickEstimateInput changed = window_->estimateInput();
  EXPECT_EQ((std::tuple(changed.bedrooms, changed.halls, changed.kitchens, changed.bathrooms, changed.balconies,
                        changed.area, changed.grade)),
            (std::tuple(4, 0, 2, 3, 9, std::string("１２０"), std::string("精  装  修"))));
}

TEST_F(MainWindowTest, TwoQuickPressesStartOneEstimateAndTheButtonWaitsForTheResultWindow) {
  startAndSettle();
  PictureButton* button = estimateButton();
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_FALSE(button->isEnabled());
  QTest::mouseClick(button, Qt::LeftButton);

  ASSERT_TRUE(waitUntil([&] { return window_->resultWindow() != nullptr; }));
  ASSERT_TRUE(waitUntilQuiet(*services_.workers));
  EXPECT_EQ(openWindowsOf<ResultWindow>(), 1);
  EXPECT_FALSE(button->isEnabled());
  ResultWindow* result = window_->resultWindow();
  EXPECT_EQ(result->windowModality(), Qt::ApplicationModal);

  // The text of a run on the same inputs and prices, with the closing advice line.
  QuickEstimator expected;
  expected.run(window_->estimateInput(), EstimatePrices::defaults());
  const std::string shown = resultWindowText(expected.resultText());
  EXPECT_EQ(result->shownText(), shown);
  EXPECT_EQ(control<QPlainTextEdit>(*result, "编辑框1")->toPlainText(),
            QString::fromStdString(shown).replace("\r\n", "\n"));
  EXPECT_FALSE(result->sent());

  // A send happened: closing asks nothing, and the button comes back.
  result->markSent();
  ModalAnswerer answerer;
  result->close();
  EXPECT_TRUE(waitUntil([&] { return button->isEnabled(); }));
  flushDeletes();
  EXPECT_EQ(window_->resultWindow(), nullptr);
  EXPECT_EQ(openWindowsOf<ResultWindow>(), 0);
  EXPECT_TRUE(answerer.seen().empty());
}

TEST_F(MainWindowTest, ResultWindowClosedAfterTheQuestionGivesTheButtonBack) {
  startAndSettle();
  QTest::mouseClick(estimateButton(), Qt::LeftButton);
  ASSERT_TRUE(waitUntil([&] { return window_->resultWindow() != nullptr; }));
  ResultWindow* result = window_->resultWindow();
  {
    ModalAnswerer answerer({QMessageBox::Yes});
    result->close();
    ASSERT_EQ(answerer.seen().size(), 1u);
  }
  ASSERT_TRUE(waitUntilQuiet(*services_.workers));
  EXPECT_TRUE(result->isVisible());
  EXPECT_FALSE(estimateButton()->isEnabled());
  {
    ModalAnswerer answerer({QMessageBox::No});
    result->close();
    ASSERT_EQ(answerer.seen().size(), 1u);
  }
  EXPECT_TRUE(waitUntil([&] { return estimateButton()->isEnabled(); }));
  flushDeletes();
  EXPECT_EQ(window_->resultWindow(), nullptr);
}

TEST_F(MainWindowTest, EstimateButtonAlsoRefreshesTheCounter) {
  startAndSettle();
  fetcher_->answer(services_.endpoints.counterUrl(), "124");
  QTest::mouseClick(estimateButton(), Qt::LeftButton);
  EXPECT_TRUE(waitUntil([&] { return counterLabel()->text().contains(QStringLiteral(" 124 ")); }));
}

TEST_F(MainWindowTest, AnsweringNoToTheDetailedQuoteQuestionChangesNothing) {
  startAndSettle();
  const std::size_t requestsBefore = fetcher_->requests().size();
  ModalAnswerer answerer({QMessageBox::No});
  QTest::mouseClick(detailedQuoteButton(), Qt::LeftButton);

  ASSERT_EQ(answerer.seen().size(), 1u);
  const SeenDialog& question = answerer.seen()[0];
  EXPECT_EQ(question.title, QStringLiteral("信息："));
  EXPECT_EQ(question.text, kDetailedQuoteQuestion);
  EXPECT_EQ(question.icon, QMessageBox::Question);
  EXPECT_EQ(question.buttons, (QStringList{QStringLiteral("是(&Y)"), QStringLiteral("否(&N)")}));
  EXPECT_TRUE(question.applicationModal);

  ASSERT_TRUE(waitUntilQuiet(*services_.workers));
  EXPECT_EQ(window_->roomEntryWindow(), nullptr);
  EXPECT_EQ(openWindowsOf<RoomEntryWindow>(), 0);
  EXPECT_EQ(fetcher_->requests().size(), requestsBefore);
  EXPECT_EQ(gradeBox()->currentText(), QStringLiteral("舒适型装修"));
}

TEST_F(MainWindowTest, AnsweringYesOpensOneModelessRoomEntryWindowOwnedByTheMainWindow) {
  startAndSettle();
  fetcher_->answer(services_.endpoints.counterUrl(), "125");
  {
    ModalAnswerer answerer({QMessageBox::Yes});
    QTest::mouseClick(detailedQuoteButton(), Qt::LeftButton);
    ASSERT_EQ(answerer.seen().size(), 1u);
  }
  RoomEntryWindow* rooms = window_->roomEntryWindow();
  ASSERT_NE(rooms, nullptr);
  EXPECT_TRUE(rooms->isVisible());
  EXPECT_EQ(rooms->windowTitle(), QStringLiteral("舒适型装修详细报价！"));
  EXPECT_EQ(rooms->parentWidget(), window_.get());
  EXPECT_TRUE(rooms->isWindow());
  EXPECT_EQ(rooms->windowModality(), Qt::NonModal);
  EXPECT_TRUE(window_->isEnabled());

  // Its creation refreshes the counter of both windows.
  const QString caption = QStringLiteral("TarselCorvalen装饰公司报价评估工具 － 已帮助 125 位业主预算过报价！");
  EXPECT_TRUE(waitUntil([&] { return control<QLabel>(*rooms, "标签17")->text() == caption; }));
  EXPECT_EQ(counterLabel()->text(), caption);

  // A second Yes brings the same window forward instead of opening another.
  {
    ModalAnswerer answerer({QMessageBox::Yes});
    QTest::mouseClick(detailedQuoteButton(), Qt::LeftButton);
  }
  EXPECT_EQ(window_->roomEntryWindow(), rooms);
  EXPECT_EQ(openWindowsOf<RoomEntryWindow>(), 1);
}

TEST_F(MainWindowTest, GradeChangeRetitlesAnOpenRoomEntryWindowOnly) {
  startAndSettle();
  // Closed: nothing to retitle, nothing opens.
  gradeBox()->setCurrentIndex(0);
  EXPECT_EQ(window_->roomEntryWindow(), nullptr);
  EXPECT_EQ(openWindowsOf<RoomEntryWindow>(), 0);

  {
    ModalAnswerer answerer({QMessageBox::Yes});
    QTest::mouseClick(detailedQuoteButton(), Qt::LeftButton);
  }
  RoomEntryWindow* rooms = window_->roomEntryWindow();
  ASSERT_NE(rooms, nullptr);
  EXPECT_EQ(rooms->windowTitle(), QStringLiteral("出租房装修详细报价！"));
  gradeBox()->setCurrentIndex(4);
  EXPECT_EQ(rooms->windowTitle(), QStringLiteral("豪华型装修详细报价！"));
  gradeBox()->setCurrentIndex(3);
  EXPECT_EQ(rooms->windowTitle(), QStringLiteral("精  装  修详细报价！"));

  rooms->close();
  flushDeletes();
  EXPECT_EQ(window_->roomEntryWindow(), nullptr);
  gradeBox()->setCurrentIndex(1);
  EXPECT_EQ(openWindowsOf<RoomEntryWindow>(), 0);
}

TEST_F(MainWindowTest, BackgroundOpensTheWebsiteAndThePictureBoxTheChat) {
  startAndSettle();
  QTest::mouseClick(window_.get(), Qt::LeftButton, {}, QPoint(470, 345));  // 联系我们 on the picture
  QTest::mouseClick(window_.get(), Qt::LeftButton, {}, QPoint(10, 10));
  QTest::mouseClick(window_.get(), Qt::RightButton, {}, QPoint(10, 10));
  QTest::mouseClick(counterLabel(), Qt::LeftButton);  // a control, not the background
  QTest::mouseClick(chatStatusPicture(), Qt::LeftButton);
  EXPECT_EQ(browser_->opened, (std::vector<std::string>{
                                  "http://www.example-decor.test",
                                  "http://www.example-decor.test",
                                  "http://127.0.0.1:9/msgrd?v=3&uin=12345&site=qq&menu=yes",
                              }));
}

TEST_F(MainWindowTest, ClosingTheWindowAnnouncesTheEnd) {
  startAndSettle();
  bool closed = false;
  QObject::connect(window_.get(), &MainWindow::closed, [&] { closed = true; });
  window_->close();
  EXPECT_TRUE(closed);
}

TEST(MainWindowShutdown, WorkersStillFetchingAfterTheWindowIsGoneTouchNothing) {
  auto fetcher = std::make_shared<ScriptedFetcher>();
  AppServices services = testServices(fetcher);
  fetcher->answer(services.endpoints.counterUrl(), "9");
  fetcher->answer(services.endpoints.chatStatusPictureUrl(), statusPictureBytes());
  fetcher->hold();
  {
    MainWindow window(services);
    window.start();
    QTest::mouseClick(control<PictureButton>(window, "按钮1"), Qt::LeftButton);  // an estimate and a counter refresh
    ASSERT_TRUE(waitUntil([&] { return fetcher->requests().size() >= 2; }));
  }
  // The window is gone; the workers finish their requests and their results are dropped.
  fetcher->release();
  ASSERT_TRUE(waitUntilQuiet(*services.workers));
  EXPECT_EQ(openWindowsOf<ResultWindow>(), 0);
  EXPECT_EQ(fetcher->finishedCount(), 7u);
}

}  // namespace
}  // namespace decor::test
