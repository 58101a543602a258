// What a customer sees of the windows' layout: the add-item list's width, the quotation
// window's button rows and maximised table, and the chat placeholder of every window.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QHeaderView>
#include <QImage>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QTreeView>

#include "app/add_item_window.h"
#include "app/chat_status.h"
#include "app/contact_window.h"
#include "app/main_window.h"
#include "app/quotation_window.h"
#include "gui_test_support.h"
#include "quotation_rows/quote_table.h"
#include "quote_test_support.h"
#include "ui/picture_box.h"
#include "ui/qt_text.h"

namespace decor::test {
namespace {

class WindowLayout : public ::testing::Test {
 protected:
  std::shared_ptr<ScriptedFetcher> fetcher_ = std::make_shared<ScriptedFetcher>();
  AppServices services_ = testServices(fetcher_);
};

TEST_F(WindowLayout, AddItemListShowsItsLongestChoiceWhole) {
  AddItemWindow window;
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QComboBox& names = *control<QComboBox>(window, "组合框1");
  names.showPopup();
  QAbstractItemView& list = *names.view();
  ASSERT_TRUE(waitUntil([&] { return list.isVisible(); }));
  const QModelIndex longest = names.model()->index(names.findText(QStringLiteral("鞋柜隔断制作")), 0);
  ASSERT_TRUE(longest.isValid());
  list.scrollTo(longest);
  // The item's own room (text and margins) fits in the list: nothing is cut short.
  EXPECT_GE(list.visualRect(longest).width(), list.sizeHintForIndex(longest).width());
  EXPECT_GE(list.viewport()->width(), list.sizeHintForIndex(longest).width());
  names.hidePopup();
}

// 导出 Excel / 导出 PDF / 打印 and 保存报价 / 打开报价 line up under 删除此项 / 修改 / 添加项: the
// same columns and height, the same gap between rows, texts clear of the borders, and a
// margin below the last row.
TEST_F(WindowLayout, QuotationButtonRowsMatchTheRowAboveAndKeepOffTheBottomEdge) {
  QuotationWindow window(services_, QuoteRequest{.rooms = {livingRoom()}, .grade = "舒适型装修"});
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  const std::vector<std::vector<const char*>> rows{{"按钮1", "按钮3", "按钮2"},
                                                   {"exportExcelButton", "exportPdfButton", "printButton"},
                                                   {"saveQuotationButton", "openQuotationButton"}};
  const std::vector<QPushButton*> first{control<QPushButton>(window, "按钮1"), control<QPushButton>(window, "按钮3"),
                                        control<QPushButton>(window, "按钮2")};
  const int gap = control<QPushButton>(window, "exportExcelButton")->y() - (first[0]->y() + first[0]->height());
  EXPECT_GT(gap, 0);
  int top = first[0]->y();
  for (const std::vector<const char*>& row : rows) {
    for (std::size_t i = 0; i < row.size(); ++i) {
      SCOPED_TRACE(row[i]);
      const QPushButton& button = *control<QPushButton>(window, row[i]);
      EXPECT_EQ(button.y(), top);
      EXPECT_EQ(button.x(), first[i]->x());
      EXPECT_EQ(button.size(), first[i]->size());
      // The text keeps the style's button margin from both borders.
      const int margin = button.style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, &button);
      EXPECT_LE(button.fontMetrics().horizontalAdvance(button.text()) + 2 * margin, button.width());
    }
    top += first[0]->height() + gap;
  }
  const QPushButton& last = *control<QPushButton>(window, "saveQuotationButton");
  const int below = window.height() - (last.y() + last.height());
  const int right = window.width() - (first[2]->x() + first[2]->width());
  EXPECT_GE(below, right) << "at least the margin the panel keeps to the right edge";
  EXPECT_GE(below, gap);
}

// Maximised, the table fills the window: 项目名称 takes the width gained, the other columns
// keep their design widths; back at the design size all are as designed.
TEST_F(WindowLayout, MaximisedQuotationTableGivesTheSpareWidthToTheItemName) {
  QuotationWindow window(services_, QuoteRequest{.rooms = {livingRoom()}, .grade = "舒适型装修"});
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QTreeView& table = *control<QTreeView>(window, "超级列表框1");
  const QSize design = window.size();
  const int designListWidth = table.width();
  const auto expectWidths = [&](int nameWidth) {
    for (std::size_t column = 0; column < kQuoteColumns.size(); ++column) {
      const int expected = column == kQuoteNameColumn ? nameWidth : kQuoteColumns[column].width;
      EXPECT_EQ(table.columnWidth(static_cast<int>(column)), expected) << kQuoteColumns[column].title;
    }
  };
  expectWidths(200);

  window.resize(1280, 900);
  ASSERT_TRUE(waitUntil([&] { return window.size() == QSize(1280, 900); }));
  const int gained = table.width() - designListWidth;
  ASSERT_EQ(gained, 1280 - design.width());
  expectWidths(200 + gained);
  const QHeaderView& header = *table.header();
  const int emptyRight = table.viewport()->width() - (header.sectionViewportPosition(5) + header.sectionSize(5));
  EXPECT_LT(emptyRight, 100) << "no half-empty table";

  window.resize(design);
  ASSERT_TRUE(waitUntil([&] { return window.size() == design; }));
  expectWidths(200);
}

// Without a chat picture every window shows the same placeholder in its picture box, drawn
// by the box itself; a picture that arrives takes its place.
TEST_F(WindowLayout, WithoutAChatPictureEveryWindowShowsTheSamePlaceholder) {
  AppServices offline = testServices(std::make_shared<OfflineUrlFetcher>());
  MainWindow main(offline);
  main.start();
  QuotationWindow quotation(offline, QuoteRequest{.rooms = {livingRoom()}, .grade = "舒适型装修"});
  ContactWindow contact(offline);
  ASSERT_TRUE(waitUntilQuiet(*offline.workers));
  for (QWidget* window : std::vector<QWidget*>{&main, &quotation, &contact}) {
    SCOPED_TRACE(window->metaObject()->className());
    PictureBox& box = *control<PictureBox>(*window, "图片框1");
    EXPECT_FALSE(box.showsPicture());
    EXPECT_EQ(box.placeholder(), qt(kChatPlaceholder));
    // Something is drawn where the picture would be; without the placeholder nothing is.
    QImage drawn(box.size(), QImage::Format_ARGB32);
    drawn.fill(Qt::transparent);
    box.render(&drawn);
    QImage blank = drawn;
    blank.fill(Qt::transparent);
    EXPECT_NE(drawn, blank);
  }

  fetcher_->answer(services_.endpoints.chatStatusPictureUrl(), statusPictureBytes());
  ContactWindow online(services_);
  EXPECT_TRUE(waitUntil([&] { return control<PictureBox>(online, "图片框1")->showsPicture(); }));
}

}  // namespace
}  // namespace decor::test
