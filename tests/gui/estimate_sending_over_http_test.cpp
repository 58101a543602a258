// The result window's lookup and send over the real HTTP client, against a local server.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "app/result_window.h"
#include "gui_test_support.h"
#include "local_http_server.h"
#include "net/http_url_fetcher.h"
#include "ui/picture_button.h"

namespace decor::test {
namespace {

using namespace std::chrono_literals;

// Lookups wait at the server until the test lets them answer (or fifteen seconds pass, so that
// a window that waited for the answer itself fails instead of hanging).
class HeldLookups {
 public:
  std::string answer(const std::string& body) {
    std::unique_lock lock(mutex_);
    opened_.wait_for(lock, 15s, [this] { return open_; });
    ++answered_;
    return okReply(body);
  }
  void open() {
    {
      const std::lock_guard lock(mutex_);
      open_ = true;
    }
    opened_.notify_all();
  }
  int answered() const {
    const std::lock_guard lock(mutex_);
    return answered_;
  }

 private:
  mutable std::mutex mutex_;
  std::condition_variable opened_;
  bool open_ = false;
  int answered_ = 0;
};

class EstimateSendingOverHttpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    services_.fetcher = std::make_shared<HttpUrlFetcher>(FetchLimits{.connect = 2s, .stall = 20s});
    services_.postForm = httpFormPoster(HttpLimits{.connect = 2s, .send = 2s, .receive = 5s});
    services_.endpoints = Endpoints::allAt(server_.address());
    services_.endpoints.locationPage = "mobile.php";
    window_ = std::make_unique<ResultWindow>(services_, "半包价格为：19887.7元");
    window_->show();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  }
  void TearDown() override {
    lookups_.open();
    window_->markSent();
    window_.reset();
  }

  std::string reply(const std::string& request) {
    if (request.starts_with("POST /site/send ")) return okReply("发送成功");
    return lookups_.answer(R"(querycallback({"Mobile":"","Province":"",});)");
  }

  QLineEdit& mail() { return *control<QLineEdit>(*window_, "编辑框2"); }
  QLineEdit& phone() { return *control<QLineEdit>(*window_, "编辑框3"); }

  HeldLookups lookups_;
  LocalHttpServer server_{[this](const std::string& request) { return reply(request); }};
  AppServices services_ = testServices(std::make_shared<OfflineUrlFetcher>());
  std::unique_ptr<ResultWindow> window_;
};

TEST_F(EstimateSendingOverHttpTest, TheSeventhDigitSendsOneLookupAndTheWindowWorksWhileItWaits) {
  phone().setFocus();
  typeText(phone(), QStringLiteral("1380057"));
  ASSERT_TRUE(waitUntil([&] { return server_.requests().size() == 1; }));
  EXPECT_TRUE(server_.requests()[0].starts_with(
      "GET /Locating/mobile.php?m=1380057&output=json&callback=querycallback HTTP/"))
      << server_.requests()[0];

  // The server holds its answer; the window goes on taking keys and running its timers.
  typeText(phone(), QStringLiteral("1234"));
  int ticks = 0;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
  ticker.start(5);
  EXPECT_TRUE(waitUntil([&] { return ticks >= 5; }));
  EXPECT_EQ(phone().text(), QStringLiteral("13800571234"));
  EXPECT_EQ(lookups_.answered(), 0);

  ModalAnswerer answerer({QMessageBox::Ok, QMessageBox::Ok});
  lookups_.open();
  ASSERT_TRUE(waitUntilQuiet(*services_.workers));
  ASSERT_EQ(answerer.seen().size(), 1u);
  EXPECT_EQ(answerer.seen()[0].text, QStringLiteral("亲，您输入的是外星号码！"));
  EXPECT_EQ(server_.requests().size(), 1u) << "digits 8 to 11 look nothing up";

  // Deleting back to seven digits looks up again, in the window the desktop makes active again.
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  for (int i = 0; i < 4; ++i) QTest::keyClick(&phone(), Qt::Key_Backspace);
  EXPECT_TRUE(waitUntil([&] { return answerer.seen().size() == 2; }));
  EXPECT_EQ(server_.requests().size(), 2u);
}

TEST_F(EstimateSendingOverHttpTest, ASendTheServerAcceptsClosesTheWindowWithoutTheQuestion) {
  mail().setText(QStringLiteral("a&tel=1@x.cn"));
  phone().setText(QStringLiteral("13800571234"));
  ModalAnswerer answerer({QMessageBox::Ok});
  control<PictureButton>(*window_, "图形按钮1")->click();
  ASSERT_TRUE(waitUntil([&] { return answerer.seen().size() == 1; }));
  EXPECT_EQ(answerer.seen()[0].text, QStringLiteral("发送成功！"));
  EXPECT_EQ(window_->windowTitle(), QStringLiteral("发送成功！"));
  ASSERT_EQ(server_.requests().size(), 1u);
  const std::string request = server_.requests()[0];
  const std::string body = request.substr(request.find("\r\n\r\n") + 4);
  EXPECT_TRUE(request.starts_with("POST /site/send HTTP/1.1\r\n")) << request;
  EXPECT_TRUE(body.starts_with("email=a%26tel%3D1%40x%2Ecn&result=%E5%8D%8A%E5%8C%85%E4%BB%B7%E6%A0%BC%E4%B8%BA"
                               "%EF%BC%9A19887%2E7%E5%85%83%3Cbr %2F%3E%3Cbr %2F%3E%2A"))
      << body;
  EXPECT_TRUE(body.ends_with("&tel=13800571234")) << body;

  window_->close();
  EXPECT_FALSE(window_->isVisible());
  EXPECT_EQ(answerer.seen().size(), 1u);
}

TEST_F(EstimateSendingOverHttpTest, EnterSendsAndAnUnreachableServerIsAFailureThatStillCountsAsSent) {
  services_.postForm = httpFormPoster(HttpLimits{.connect = 500ms, .send = 500ms, .receive = 500ms});
  services_.endpoints.estimateServer = "http://127.0.0.1:" + std::to_string(refusedPort());
  window_ = std::make_unique<ResultWindow>(services_, "r");
  window_->show();
  control<QLineEdit>(*window_, "编辑框2")->setText(QStringLiteral("a@b"));
  control<QLineEdit>(*window_, "编辑框3")->setText(QStringLiteral("13800571234"));
  ModalAnswerer answerer({QMessageBox::Ok});
  QTest::keyClick(control<QLineEdit>(*window_, "编辑框3"), Qt::Key_Return);
  ASSERT_TRUE(waitUntil([&] { return answerer.seen().size() == 1; }));
  EXPECT_EQ(answerer.seen()[0].text, QStringLiteral("发送失败！"));
  EXPECT_EQ(window_->windowTitle(), QStringLiteral("发送失败！"));
  EXPECT_TRUE(window_->sent());
}

}  // namespace
}  // namespace decor::test
