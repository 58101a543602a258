// The result window's sending boxes with scripted servers: the e-mail check, a late lookup
// answer, the checks before a send and a send that runs once at a time.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <condition_variable>
#include <mutex>
#include <set>

#include "app/result_window.h"
#include "contact/percent_encoding.h"
#include "gui_test_support.h"
#include "ui/picture_button.h"

namespace decor::test {
namespace {

const std::string kResultText = "经济型装修价格如下：\r\n客餐厅铺地板半包装修的价格为：19887.7元";
const QString kSending = QStringLiteral("正在发送中。。。");
const QString kSucceeded = QStringLiteral("发送成功！");
const QString kFailed = QStringLiteral("发送失败！");

// An estimate server stand-in: replies by the address in the form, and holds each post until
// the test releases its address.
class GatedPoster {
 public:
  void answer(const std::string& email, std::string reply) {
    const std::lock_guard lock(mutex_);
    replies_[encodeForForm(email)] = std::move(reply);
  }
  void hold() {
    const std::lock_guard lock(mutex_);
    holding_ = true;
    released_.clear();
  }
  void releaseAll() {
    {
      const std::lock_guard lock(mutex_);
      holding_ = false;
    }
    changed_.notify_all();
  }
  void release(const std::string& email) {
    {
      const std::lock_guard lock(mutex_);
      released_.insert(encodeForForm(email));
    }
    changed_.notify_all();
  }
  std::string post(const std::string& url, const std::string& body) {
    const std::string email = body.substr(6, body.find('&') - 6);
    std::unique_lock lock(mutex_);
    posts_.emplace_back(url, body);
    changed_.wait(lock, [&] { return !holding_ || released_.count(email) > 0; });
    return replies_[email];
  }
  std::vector<std::pair<std::string, std::string>> posts() const {
    const std::lock_guard lock(mutex_);
    return posts_;
  }

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool holding_ = false;
  std::set<std::string> released_;
  std::map<std::string, std::string> replies_;
  std::vector<std::pair<std::string, std::string>> posts_;
};

class EstimateSendingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    services_.postForm = [poster = poster_](const std::string& url, const std::string& body) {
      return poster->post(url, body);
    };
    window_ = std::make_unique<ResultWindow>(services_, kResultText);
    window_->show();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  }
  void TearDown() override {
    fetcher_->release();
    poster_->releaseAll();
    window_->markSent();
    window_.reset();
  }

  // After a message box the window is active again, as the desktop would make it.
  void activate() {
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  }
  // Every result of the window's workers has arrived.
  [[nodiscard]] bool quiet() { return waitUntilQuiet(*services_.workers); }
  // The box the window gives the focus to whenever it is active.
  bool focusedIn(QLineEdit& box) { return window_->focusWidget() == &box; }

  QLineEdit& mail() { return *control<QLineEdit>(*window_, "编辑框2"); }
  QLineEdit& phone() { return *control<QLineEdit>(*window_, "编辑框3"); }
  void pressSend() { control<PictureButton>(*window_, "图形按钮1")->click(); }

  std::shared_ptr<ScriptedFetcher> fetcher_ = std::make_shared<ScriptedFetcher>();
  std::shared_ptr<GatedPoster> poster_ = std::make_shared<GatedPoster>();
  AppServices services_ = testServices(fetcher_);
  std::unique_ptr<ResultWindow> window_;
};

void expectMessage(const SeenDialog& seen, const QString& text, QMessageBox::Icon icon) {
  EXPECT_EQ(seen.title, QStringLiteral("信息："));
  EXPECT_EQ(seen.text, text);
  EXPECT_EQ(seen.icon, icon);
  EXPECT_EQ(seen.buttons, QStringList{QStringLiteral("确定")});
  EXPECT_TRUE(seen.applicationModal);
}

TEST_F(EstimateSendingTest, LeavingTheMailBoxWithoutAnAtSignClearsItWithOneWarning) {
  ModalAnswerer answerer({QMessageBox::Ok});
  mail().setFocus();
  QTest::keyClicks(&mail(), "abc");
  phone().setFocus();
  ASSERT_TRUE(waitUntil([&] { return answerer.seen().size() == 1; }));
  expectMessage(answerer.seen()[0], QStringLiteral("亲，您输入的邮箱在这个地球上不存在！"), QMessageBox::Warning);
  EXPECT_TRUE(mail().text().isEmpty());
  EXPECT_TRUE(focusedIn(mail()));
  ASSERT_TRUE(quiet());  // the message took the focus from the box: no second warning
  EXPECT_EQ(answerer.seen().size(), 1u);

  activate();
  for (const QString& accepted : {QStringLiteral("a@b"), QStringLiteral("@"), QString()}) {
    mail().setText(accepted);
    mail().setFocus();
    phone().setFocus();
    ASSERT_TRUE(quiet());
    EXPECT_TRUE(phone().hasFocus());
    EXPECT_EQ(mail().text(), accepted);
  }
  EXPECT_EQ(answerer.seen().size(), 1u);
}

TEST_F(EstimateSendingTest, AnUnknownBlockIsNotReportedOnceTheBoxHoldsAnotherNumber) {
  fetcher_->hold();
  phone().setFocus();
  typeText(phone(), QStringLiteral("1390000"));
  ASSERT_TRUE(waitUntil([&] { return fetcher_->requests().size() == 1; }));
  phone().selectAll();
  typeText(phone(), QStringLiteral("13"));
  ModalAnswerer answerer;
  fetcher_->release();
  ASSERT_TRUE(quiet());
  EXPECT_TRUE(answerer.seen().empty());
}

TEST_F(EstimateSendingTest, EmptyBoxesAskForTheAddressFirstAndNothingIsPosted) {
  ModalAnswerer answerer({QMessageBox::Ok, QMessageBox::Ok});
  pressSend();
  ASSERT_EQ(answerer.seen().size(), 1u);
  expectMessage(answerer.seen()[0], QStringLiteral("请输入邮箱！"), QMessageBox::Information);
  EXPECT_EQ(window_->windowTitle(), kSending);
  EXPECT_TRUE(focusedIn(mail()));

  activate();
  mail().setText(QStringLiteral("a@b"));
  QTest::keyClick(&phone(), Qt::Key_Return);
  ASSERT_EQ(answerer.seen().size(), 2u);
  expectMessage(answerer.seen()[1], QStringLiteral("请输入邮箱手机号！"), QMessageBox::Information);
  EXPECT_EQ(window_->windowTitle(), kSending);
  EXPECT_TRUE(focusedIn(phone()));

  ASSERT_TRUE(quiet());
  EXPECT_TRUE(poster_->posts().empty());
  EXPECT_FALSE(window_->sent());
}

TEST_F(EstimateSendingTest, WhileASendRunsNeitherTheButtonNorEnterSendsAgain) {
  poster_->answer("ok@a.cn", "发送成功");
  poster_->hold();
  mail().setText(QStringLiteral("ok@a.cn"));
  phone().setText(QStringLiteral("13800571234"));
  PictureButton& send = *control<PictureButton>(*window_, "图形按钮1");
  send.click();
  send.click();  // a double click
  ASSERT_TRUE(waitUntil([&] { return poster_->posts().size() == 1; }));
  EXPECT_FALSE(send.isEnabled());
  QTest::keyClick(&phone(), Qt::Key_Return);

  // A second send started by the Enter would post once the first is let go, and say so again.
  bool enabledDuringMessage = true;
  ModalAnswerer answerer({QMessageBox::Ok}, [&](QWidget&) { enabledDuringMessage = send.isEnabled(); });
  poster_->releaseAll();
  ASSERT_TRUE(quiet());
  EXPECT_EQ(poster_->posts().size(), 1u);
  ASSERT_EQ(answerer.seen().size(), 1u);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(answerer.seen()[0].text, kSucceeded);
  EXPECT_FALSE(enabledDuringMessage);
  EXPECT_TRUE(send.isEnabled());
  EXPECT_EQ(window_->windowTitle(), kSucceeded);
  EXPECT_TRUE(window_->sent());
}

TEST_F(EstimateSendingTest, ALateUnknownBlockDoesNotInterruptTypingInTheMailBox) {
  fetcher_->hold();
  phone().setFocus();
  typeText(phone(), QStringLiteral("1390000"));
  ASSERT_TRUE(waitUntil([&] { return fetcher_->requests().size() == 1; }));
  mail().setFocus();
  typeText(mail(), QStringLiteral("ab"));
  ModalAnswerer answerer({QMessageBox::Ok, QMessageBox::Ok});
  fetcher_->release();
  ASSERT_TRUE(quiet());
  EXPECT_TRUE(answerer.seen().empty());
  EXPECT_EQ(mail().text(), QStringLiteral("ab"));
  EXPECT_TRUE(focusedIn(mail()));
}

// Another program, or the close question, takes the focus: the address stays as typed. The
// send checks it.
TEST_F(EstimateSendingTest, TheAddressIsCheckedOnlyWithinTheWindowAndOnSending) {
  mail().setFocus();
  typeText(mail(), QStringLiteral("abc"));
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  ASSERT_TRUE(quiet());
  EXPECT_EQ(mail().text(), QStringLiteral("abc"));

  activate();
  mail().setFocus();
  {
    ModalAnswerer answerer({QMessageBox::Yes, QMessageBox::Ok});
    window_->close();
    ASSERT_TRUE(quiet());
    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_EQ(answerer.seen()[0].text, QStringLiteral("亲，此报价可免费发到手机和邮箱哦！点击  是  即可返回免费发送！"));
  }
  EXPECT_EQ(mail().text(), QStringLiteral("abc"));

  activate();
  phone().setText(QStringLiteral("13800571234"));
  ModalAnswerer answerer({QMessageBox::Ok, QMessageBox::Ok});
  pressSend();
  ASSERT_TRUE(quiet());
  ASSERT_EQ(answerer.seen().size(), 1u);
  expectMessage(answerer.seen()[0], QStringLiteral("亲，您输入的邮箱在这个地球上不存在！"), QMessageBox::Warning);
  EXPECT_TRUE(mail().text().isEmpty());
  EXPECT_TRUE(poster_->posts().empty());
}

}  // namespace
}  // namespace decor::test
