// The quotation, contact and add-item windows: links, the contact window's picture, 取消.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "app/add_item_window.h"
#include "app/contact_window.h"
#include "app/quotation_window.h"
#include "catalogue_support.h"
#include "gui_test_support.h"
#include "ui/hyperlink_label.h"
#include "ui/picture_box.h"

namespace decor::test {
namespace {

class SmallWindows : public ::testing::Test {
 protected:
  void SetUp() override { fetcher_->answer(services_.endpoints.chatStatusPictureUrl(), statusPictureBytes()); }

  std::shared_ptr<ScriptedFetcher> fetcher_ = std::make_shared<ScriptedFetcher>();
  std::shared_ptr<BrowserLog> browser_ = std::make_shared<BrowserLog>();
  AppServices services_ = testServices(fetcher_, browser_);
};

TEST_F(SmallWindows, QuotationWindowLinksToTheChatAndOpensTheContactWindowModally) {
  QuotationWindow window(services_, QuoteRequest{.rooms = {}, .grade = "舒适型装修"});
  window.show();
  EXPECT_TRUE(waitUntil([&] { return !control<PictureBox>(window, "图片框1")->pixmap().isNull(); }));

  QTest::mouseClick(control<PictureBox>(window, "图片框1"), Qt::LeftButton);
  EXPECT_EQ(browser_->opened, (std::vector<std::string>{"http://127.0.0.1:9/msgrd?v=3&uin=12345&site=qq&menu=yes"}));

  bool pictureShown = false;
  ModalAnswerer answerer({}, [&](QWidget& dialog) {
    auto* box = dialog.findChild<PictureBox*>(QStringLiteral("图片框1"));
    pictureShown = box != nullptr && waitUntil([&] { return !box->pixmap().isNull(); });
  });
  QTest::mouseClick(control<HyperlinkLabel>(window, "超级链接框1"), Qt::LeftButton);
  ASSERT_EQ(answerer.seen().size(), 1u);
  EXPECT_EQ(answerer.seen()[0].className, QStringLiteral("decor::ContactWindow"));
  EXPECT_EQ(answerer.seen()[0].title, QStringLiteral("我要做精确报价以及设计"));
  EXPECT_TRUE(answerer.seen()[0].applicationModal);
  EXPECT_TRUE(pictureShown);
}

TEST_F(SmallWindows, ContactWindowLinksToTheWebsiteAndTheChat) {
  ContactWindow window(services_);
  window.show();
  EXPECT_TRUE(waitUntil([&] { return !control<PictureBox>(window, "图片框1")->pixmap().isNull(); }));
  QTest::mouseClick(control<HyperlinkLabel>(window, "超级链接框3"), Qt::LeftButton);
  QTest::mouseClick(control<PictureBox>(window, "图片框1"), Qt::LeftButton);
  QTest::mouseClick(control<QLabel>(window, "标签2"), Qt::LeftButton);
  EXPECT_EQ(browser_->opened, (std::vector<std::string>{
                                  "http://www.example-decor.test",
                                  "http://127.0.0.1:9/msgrd?v=3&uin=12345&site=qq&menu=yes",
                              }));
}

TEST_F(SmallWindows, WithoutNetworkTheStatusPicturesStayEmpty) {
  AppServices offline = testServices(std::make_shared<OfflineUrlFetcher>());
  ContactWindow contact(offline);
  QuotationWindow quotation(offline, QuoteRequest{.rooms = {}, .grade = "舒适型装修"});
  ASSERT_TRUE(waitUntilQuiet(*offline.workers));
  EXPECT_TRUE(control<PictureBox>(contact, "图片框1")->pixmap().isNull());
  EXPECT_TRUE(control<PictureBox>(quotation, "图片框1")->pixmap().isNull());
}

TEST_F(SmallWindows, AddItemWindowCancelClosesWithoutAnything) {
  AddItemWindow window;
  window.show();
  QTest::mouseClick(control<QPushButton>(window, "按钮2"), Qt::LeftButton);
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(window.result(), QDialog::Rejected);
}

TEST_F(SmallWindows, AddItemWindowTakesTypedTextsAsTheyAreAndKeepsItsItems) {
  AddItemWindow window;
  window.show();
  QComboBox* 组合框1 = control<QComboBox>(window, "组合框1");
  QComboBox* 组合框2 = control<QComboBox>(window, "组合框2");
  QComboBox* 组合框3 = control<QComboBox>(window, "组合框3");
  QPushButton* 按钮1 = control<QPushButton>(window, "按钮1");
  // The beginning of an item, a text no item begins with, the beginning of 50 and 500.
  const std::vector<std::pair<QComboBox*, QString>> typed = {
      {组合框1, QStringLiteral("包")},
      {组合框2, QStringLiteral("3")},
      {组合框3, QStringLiteral("5")},
  };
  expectTypedTextsStay(typed, *按钮1);
}

TEST_F(SmallWindows, ContactWindowShowsAWholeTwentyCharacterHotline) {
  services_.endpoints.hotline = "0571-8888 6666-80012";
  ContactWindow window(services_);
  window.show();
  QLabel& hotline = *control<QLabel>(window, "标签3");
  EXPECT_EQ(hotline.text(), QStringLiteral("预约设计师：\n0571-8888 6666-80012"));
  EXPECT_EQ(hotline.pos(), QPoint(120, 64));
  EXPECT_GE(hotline.width(), hotline.sizeHint().width());
  EXPECT_GE(hotline.height(), hotline.sizeHint().height());
  EXPECT_TRUE(window.rect().contains(hotline.geometry()));
}

TEST_F(SmallWindows, EnterInAnyAddItemBoxConfirmsTheItem) {
  for (const char* name : {"组合框1", "组合框2", "组合框3"}) {
    SCOPED_TRACE(name);
    AddItemWindow dialog;
    QSignalSpy confirmed(&dialog, &AddItemWindow::itemConfirmed);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    control<QComboBox>(dialog, name)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(confirmed.count(), 1);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
  }
}

}  // namespace
}  // namespace decor::test
