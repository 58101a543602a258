// The result window: what it shows, the close question and its sent flag, the swallowed right
// click, and the limits of its two input boxes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "app/result_window.h"
#include "gui_test_support.h"

namespace decor::test {
namespace {

const QString kCloseQuestion = QStringLiteral("亲，此报价可免费发到手机和邮箱哦！点击  是  即可返回免费发送！");
const std::string kResultText = "此面积的房子做为经济型装修价格如下：\r\n\r\n客餐厅铺地板半包装修的价格为：19887.7元";
const std::string kClosingLine = "\r\n\r\n*如差别与心里的太大，请尝试用详细报价。如果您在Tarsel，可以QQ客服在线咨询报价以及设计！";

class ResultWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    services_.state->setEstimateSent(true);  // left over from an earlier result
    window_ = std::make_unique<ResultWindow>(services_, kResultText);
    window_->show();
  }
  void TearDown() override {
    window_->markSent();
    window_.reset();
  }

  AppServices services_ = testServices(std::make_shared<OfflineUrlFetcher>());
  std::unique_ptr<ResultWindow> window_;
};

TEST_F(ResultWindowTest, ShowsTheResultTextWithTheClosingLineAndClearsTheSentFlag) {
  EXPECT_FALSE(window_->sent());
  EXPECT_FALSE(services_.state->estimateSent());
  EXPECT_EQ(window_->shownText(), kResultText + kClosingLine);
  EXPECT_EQ(control<QPlainTextEdit>(*window_, "编辑框1")->toPlainText(),
            QStringLiteral("此面积的房子做为经济型装修价格如下：\n\n客餐厅铺地板半包装修的价格为：19887.7元\n\n"
                           "*如差别与心里的太大，请尝试用详细报价。如果您在Tarsel，可以QQ客服在线咨询报价以及设计！"));
}

TEST_F(ResultWindowTest, ClosingBeforeASendAsksOncePerAttemptAndYesKeepsItOpen) {
  ModalAnswerer answerer({QMessageBox::Yes, QMessageBox::Yes, QMessageBox::No});
  window_->close();
  EXPECT_TRUE(window_->isVisible());
  ASSERT_EQ(answerer.seen().size(), 1u);

  QTest::keyClick(window_.get(), Qt::Key_Escape);  // Esc is a closing attempt too
  EXPECT_TRUE(window_->isVisible());
  ASSERT_EQ(answerer.seen().size(), 2u);

  window_->close();
  EXPECT_FALSE(window_->isVisible());
  ASSERT_EQ(answerer.seen().size(), 3u);
  EXPECT_EQ(window_->result(), QDialog::Rejected);

  for (const SeenDialog& question : answerer.seen()) {
    EXPECT_EQ(question.title, QStringLiteral("信息："));
    EXPECT_EQ(question.text, kCloseQuestion);
    EXPECT_EQ(question.icon, QMessageBox::Information);
    EXPECT_EQ(question.buttons, (QStringList{QStringLiteral("是(&Y)"), QStringLiteral("否(&N)")}));
    EXPECT_TRUE(question.applicationModal);
  }
}

TEST_F(ResultWindowTest, AfterASendItClosesWithoutAsking) {
  window_->markSent();
  EXPECT_TRUE(services_.state->estimateSent());
  ModalAnswerer answerer;
  window_->close();
  EXPECT_FALSE(window_->isVisible());
  EXPECT_TRUE(answerer.seen().empty());
}

TEST_F(ResultWindowTest, RightClickOnTheTextOpensNoMenu) {
  QPlainTextEdit* text = control<QPlainTextEdit>(*window_, "编辑框1");
  int menus = 0;
  QTimer closer;  // a menu, should one open, runs its own loop: close it and count it
  QObject::connect(&closer, &QTimer::timeout, [&] {
    if (QWidget* popup = QApplication::activePopupWidget()) {
      ++menus;
      popup->close();
    }
  });
  closer.start(10);
  text->selectAll();
  const QPoint inside(20, 20);
  QTest::mouseClick(text->viewport(), Qt::RightButton, {}, inside);
  QContextMenuEvent request(QContextMenuEvent::Mouse, inside, text->viewport()->mapToGlobal(inside));
  QApplication::sendEvent(text->viewport(), &request);
  ASSERT_TRUE(waitUntilQuiet(*services_.workers));
  EXPECT_EQ(menus, 0);
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
  EXPECT_TRUE(text->textCursor().hasSelection()) << "the right press must not move the cursor";
}

TEST_F(ResultWindowTest, PhoneBoxTakesElevenDigitsOnlyAndMailBoxThirtyCharacters) {
  QLineEdit* phone = control<QLineEdit>(*window_, "编辑框3");
  typeText(*phone, QStringLiteral("13a8-0 057１12345678"));
  EXPECT_EQ(phone->text(), QStringLiteral("13800571234"));

  QLineEdit* mail = control<QLineEdit>(*window_, "编辑框2");
  QTest::keyClicks(mail, QStringLiteral("customer.with.a.long.name@example-mail.com"));
  EXPECT_EQ(mail->text(), QStringLiteral("customer.with.a.long.name@exam"));
}

}  // namespace
}  // namespace decor::test
