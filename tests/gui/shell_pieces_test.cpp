// The small pieces under the windows: input rules and boxes, the counter, the hand-off to the
// GUI thread, message boxes, picture buttons and report lists.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QTest>
#include <QTreeWidget>
#include <atomic>

#include "app/gui_dispatcher.h"
#include "app/helped_counter.h"
#include "app/message_box.h"
#include "gui_test_support.h"
#include "text/codepage.h"
#include "ui/input_rules.h"
#include "ui/picture_button.h"
#include "ui/report_list.h"
#include "ui/spin_text_box.h"

namespace decor::test {
namespace {

TEST(InputRules, DecimalText) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"", true},        {"100", true},   {"100.5", true},  {"１２０", true}, {"１２０．５", true},
      {".5", true},      {"12.", true},   {"1.2.3", false}, {"-5", false},    {"1e5", false},
      {"12 ", false},    {"abc", false},  {"１２o", false}, {"120平", false},
  };
  for (const auto& [text, accepted] : cases) EXPECT_EQ(isDecimalText(text), accepted) << text;
}

TEST(InputRules, PhoneDigits) {
  EXPECT_TRUE(isPhoneDigits("", 11));
  EXPECT_TRUE(isPhoneDigits("13805712345", 11));
  EXPECT_FALSE(isPhoneDigits("138057123456", 11));
  EXPECT_FALSE(isPhoneDigits("1380571234a", 11));
  EXPECT_FALSE(isPhoneDigits("１３８", 11));
}

TEST(InputRules, SpinStepsStayInRangeAndKeepFractions) {
  const std::vector<std::tuple<std::string, int, std::string>> cases = {
      {"100", 1, "101"},     {"100", -1, "99"},     {"12.5", 1, "30"},     {"4999.5", 1, "5000"},
      {"5000", 1, "5000"},   {"30", -1, "30"},      {"１２０", 2, "122"},   {"", 1, "30"},
      {"abc", -1, "30"},     {"99999", -1, "5000"}, {"100.25", 3, "103.25"},
  };
  for (const auto& [text, steps, expected] : cases) {
    EXPECT_EQ(stepNumberText(text, steps, 30, 5000), expected) << text << " " << steps;
  }
}

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

TEST(HelpedCounter, CaptionPutsTheCountBetweenTwoBlanks) {
  EXPECT_EQ(helpedCounterCaption("123"), "TarselCorvalen装饰公司报价评估工具 － 已帮助 123 位业主预算过报价！");
  EXPECT_EQ(helpedCounterCaption(""), "TarselCorvalen装饰公司报价评估工具 － 已帮助  位业主预算过报价！");
}

TEST(HelpedCounter, CountsTheVisitThenReadsTheGbkCountUpToItsFirstZeroByte) {
  ScriptedFetcher fetcher;
  const Endpoints endpoints = Endpoints::allAt("http://stats.test");
  fetcher.answer(endpoints.counterUrl(), std::string("12\r\n", 4) + std::string(1, '\0') + "99");
  EXPECT_EQ(fetchHelpedCount(fetcher, endpoints), "12\r\n");
  EXPECT_EQ(fetcher.requests(), (std::vector<std::string>{"http://stats.test/bjtj/", "http://stats.test/bjtj/love.txt"}));

  fetcher.answer(endpoints.counterUrl(), utf8ToGbk("一万二"));
  EXPECT_EQ(fetchHelpedCount(fetcher, endpoints), "一万二");

  OfflineUrlFetcher offline;
  EXPECT_EQ(fetchHelpedCount(offline, endpoints), "");
}

TEST(GuiDispatcher, RunsPostedTasksOnTheGuiThreadUntilClosed) {
  QObject window;
  WindowDispatcher owned(&window);
  const std::shared_ptr<GuiDispatcher> dispatcher = owned.get();
  std::atomic<int> ran{0};
  std::atomic<bool> onGuiThread{true};
  std::atomic<bool> posted{false};
  const Qt::HANDLE guiThread = QThread::currentThreadId();
  startWorker([&, dispatcher] {
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
  std::vector<int> order;
  startWorker([&, dispatcher] {
    for (int i = 0; i < 5; ++i) dispatcher->post([&order, i] { order.push_back(i); });
  });
  ASSERT_TRUE(waitUntil([&] { return order.size() == 5; }));
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));

  dispatcher->close();
  dispatcher->post([&] { ++ran; });
  QTest::qWait(30);
  EXPECT_EQ(ran.load(), 1);
}

TEST(GuiDispatcher, TasksQueuedForAWindowThatIsGoneAreDropped) {
  std::atomic<int> ran{0};
  std::shared_ptr<GuiDispatcher> dispatcher;
  {
    QObject window;
    WindowDispatcher owned(&window);
    dispatcher = owned.get();
    dispatcher->post([&] { ++ran; });  // queued, never delivered: the window goes first
  }
  dispatcher->post([&] { ++ran; });
  QTest::qWait(30);
  EXPECT_EQ(ran.load(), 0);
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

TEST(ReportList, RowsTakeTheirColumnsAlignment) {
  QTreeWidget list;
  list.setColumnCount(3);
  list.headerItem()->setTextAlignment(0, Qt::AlignLeading | Qt::AlignVCenter);
  list.headerItem()->setTextAlignment(1, Qt::AlignTrailing | Qt::AlignVCenter);
  list.headerItem()->setTextAlignment(2, Qt::AlignTrailing | Qt::AlignVCenter);
  QTreeWidgetItem* row = appendReportRow(list, {QStringLiteral("客厅"), QStringLiteral("3200*2800*2920")});
  EXPECT_EQ(list.topLevelItemCount(), 1);
  EXPECT_EQ((QStringList{row->text(0), row->text(1), row->text(2)}),
            (QStringList{QStringLiteral("客厅"), QStringLiteral("3200*2800*2920"), QString()}));
  EXPECT_EQ(row->textAlignment(0), int(Qt::AlignLeading | Qt::AlignVCenter));
  EXPECT_EQ(row->textAlignment(1), int(Qt::AlignTrailing | Qt::AlignVCenter));
  EXPECT_EQ(row->textAlignment(2), int(Qt::AlignTrailing | Qt::AlignVCenter));

  const ColumnFormat columns[] = {{"甲", 80, ColumnAlignment::Left}, {"乙", 120, ColumnAlignment::Right},
                                  {"丙", 60, ColumnAlignment::Right}};
  setReportColumnWidths(list, columns);
  EXPECT_EQ((std::vector<int>{list.columnWidth(0), list.columnWidth(1), list.columnWidth(2)}),
            (std::vector<int>{80, 120, 60}));
}

}  // namespace
}  // namespace decor::test
