// The quotation window with its controller: the caption, the build on a worker thread that
// fills the list row by row, the row click with the detail panel and the description label,
// the order of table operations, and a window closed while its build still runs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <functional>
#include <QComboBox>
#include <QPushButton>
#include <QTreeView>

#include "app/add_item_window.h"
#include "app/operation_queue.h"
#include "app/quote_table_model.h"
#include "app/quotation_controller.h"
#include "app/quotation_window.h"
#include "gui_test_support.h"
#include "quote_test_support.h"
#include "ui/spin_text_box.h"

namespace decor::test {
namespace {

const QString kPuttyDescription = QStringLiteral(
    "1、环保腻子粉三遍。2、门窗洞口减半计算，固定家具被拦部位按实际面积减除计算。3、原墙顶面的铲除及糙油加8元/平米。");
const QString kTransportDescription = QStringLiteral(
    "1、装修材料从楼下搬至楼上人工费。2、三楼以下按2%收取，顶楼复式按4%收取，其它楼层按3%收取。");
const QString kRubbishDescription = QStringLiteral("1、装修垃圾从楼上搬至物业指垃圾堆放点人工费，不包括外运费。");
const QString kCeilingDescription = QStringLiteral("1、轻钢龙骨结构、石膏板饰面");

class QuotationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    services_.state->prices.resetToDefaults();
  }
  void TearDown() override {
    window_.reset();
    flushDeletes();
  }

  // A shown, non-modal quotation window over `rooms`, its build started.
  QuotationController& open(std::vector<RoomEntry> rooms, std::string grade = "舒适型装修",
                            FloorChoice floor = FloorChoice::WoodenFloor) {
    window_ = std::make_unique<QuotationWindow>(
        services_, QuoteRequest{.rooms = std::move(rooms), .grade = std::move(grade), .scope = scope_, .floor = floor});
    QuotationController& controller = window_->controller();
    window_->show();
    controller.start();
    return controller;
  }

  // The window's controls by what they are for.
  QTreeView& list() { return *control<QTreeView>(*window_, "超级列表框1"); }
  QLineEdit* nameBox() { return control<QLineEdit>(*window_, "编辑框1"); }
  QLineEdit* unitBox() { return control<QLineEdit>(*window_, "编辑框2"); }
  SpinTextBox* quantityBox() { return control<SpinTextBox>(*window_, "编辑框3"); }
  QLineEdit* unitPriceBox() { return control<QLineEdit>(*window_, "编辑框4"); }
  QPushButton* modifyButton() { return control<QPushButton>(*window_, "按钮3"); }
  QPushButton* deleteButton() { return control<QPushButton>(*window_, "按钮1"); }
  QLabel* descriptionLabel() { return control<QLabel>(*window_, "标签1"); }
  int listRows() { return list().model()->rowCount(); }

  void modify(int row, const std::vector<QString>& panel) { modifyRow(*window_, row, panel); }
  // Clicks the row and 删除此项, and waits for the worker's result.
  void remove(QuotationController& controller, int row) {
    clickRow(list(), row);
    QTest::mouseClick(deleteButton(), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return controller.idle(); }));
  }
  // 添加项, the three boxes filled, 确定添加.
  void add(QuotationController& controller, const QString& name, const QString& quantity, const QString& price) {
    ModalAnswerer answerer({}, [&](QWidget& dialog) {
      auto* addItem = qobject_cast<AddItemWindow*>(&dialog);
      if (addItem == nullptr) return;
      control<QComboBox>(*addItem, "组合框1")->setEditText(name);
      control<QComboBox>(*addItem, "组合框2")->setEditText(quantity);
      control<QComboBox>(*addItem, "组合框3")->setEditText(price);
      control<QPushButton>(*addItem, "按钮1")->click();
    });
    QTest::mouseClick(control<QPushButton>(*window_, "按钮2"), Qt::LeftButton);
    ASSERT_EQ(answerer.seen().size(), 1U);
    ASSERT_TRUE(waitUntil([&] { return controller.idle(); }));
  }

  std::vector<std::string> detailPanel() {
    return {nameBox()->text().toStdString(), unitBox()->text().toStdString(), quantityBox()->editText().toStdString(),
            unitPriceBox()->text().toStdString()};
  }

  std::shared_ptr<ScriptedFetcher> fetcher_ = std::make_shared<ScriptedFetcher>();
  AppServices services_ = testServices(fetcher_);
  std::unique_ptr<QuotationWindow> window_;
  PackageScope scope_ = PackageScope::Half;
};

TEST_F(QuotationTest, BuildRunsOnAWorkerAndAppendsTheRowsOneByOneInOrder) {
  std::vector<std::pair<int, int>> insertions;
  QuotationController& controller = open({livingRoom()});
  QObject::connect(list().model(), &QAbstractItemModel::rowsInserted,
                   [&](const QModelIndex&, int first, int last) { insertions.emplace_back(first, last); });
  QSignalSpy finished(&controller, &QuotationController::buildFinished);

  // start() returned at once: the rows come later, through the GUI thread's queue.
  EXPECT_EQ(window_->windowTitle(), QStringLiteral("半包装修详细报价"));
  EXPECT_TRUE(controller.building());
  EXPECT_EQ(listRows(), 0);

  ASSERT_TRUE(waitUntil([&] { return !controller.building(); }));
  EXPECT_EQ(quoteRowsOf(list()), livingRoomComfortQuote());
  EXPECT_EQ(controller.table().rows(), livingRoomComfortQuote()) << "the table mirrors the list";
  EXPECT_EQ(finished.count(), 1);
  std::vector<std::pair<int, int>> oneByOne;
  for (int row = 0; row < 15; ++row) oneByOne.emplace_back(row, row);
  EXPECT_EQ(insertions, oneByOne);
}

TEST_F(QuotationTest, CaptionFollowsThePackageScope) {
  scope_ = PackageScope::Full;
  QuotationController& full = open({livingRoom()});
  EXPECT_EQ(window_->windowTitle(), QStringLiteral("全包装修详细报价"));
  ASSERT_TRUE(waitUntil([&] { return !full.building(); }));
  EXPECT_EQ(quoteRowsOf(list()), livingRoomFullQuote());
}

TEST_F(QuotationTest, RowClickFillsTheDetailPanelAndTheDescriptionLabel) {
  QuotationController& controller = open({livingRoom()});
  ASSERT_TRUE(waitUntil([&] { return !controller.building(); }));
  const QString about = QuotationWindow::aboutText(services_.endpoints);
  ASSERT_EQ(descriptionLabel()->text(), about);

  struct Step {
    int row;
    std::vector<std::string> panel;
    QString label;
  };
  const std::vector<Step> steps{
      {0, {"客厅", "", "", ""}, about},  // a room header has no description
      {4, {"实木门", "扇", "1", "1480"}, QStringLiteral("成品门")},
      {8, {"", "", "", ""}, QStringLiteral("成品门")},  // the blank row keeps the label
      {2, {"墙面批腻子", "M2", "34.44", "12"}, kPuttyDescription},
      {12, {"工程管理费", "项", "1", "8%"}, kPuttyDescription},
      {5, {"局部吊顶", "M", "6", "115"}, kCeilingDescription},
      {14, {"工程总造价", "", "", ""}, kCeilingDescription},
      {10, {"材料搬运费", "户", "1", "2%"}, kTransportDescription},
  };
  for (const Step& step : steps) {
    clickRow(list(), step.row);
    EXPECT_EQ(detailPanel(), step.panel) << "row " << step.row;
    EXPECT_EQ(descriptionLabel()->text(), step.label) << "row " << step.row;
  }

  // Moving the current row with the keyboard shows the new row as well.
  QTest::keyClick(&list(), Qt::Key_Down);
  EXPECT_EQ(detailPanel(), (std::vector<std::string>{"垃圾清理费用", "户", "1", "1%"}));
  EXPECT_EQ(descriptionLabel()->text(), kRubbishDescription);
}

TEST_F(QuotationTest, FocusOnTheFilledListShowsNoRowBeforeTheUserPicksOne) {
  // The list makes its first row current when it gets the focus with rows in it; only a
  // row the user picks fills the panel.
  QuotationController& controller = open({livingRoom()});
  ASSERT_TRUE(waitUntil([&] { return !controller.building(); }));
  unitPriceBox()->setFocus();
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  list().setFocus();
  ASSERT_TRUE(waitUntilQuiet(*services_.workers));
  ASSERT_EQ(QApplication::focusWidget(), &list());
  EXPECT_EQ(detailPanel(), (std::vector<std::string>{"", "", "", ""}));
  EXPECT_EQ(descriptionLabel()->text(), QuotationWindow::aboutText(services_.endpoints));
}

TEST_F(QuotationTest, TableOperationsWaitForTheBuildAndRunInOrder) {
  QuotationController& controller = open({livingRoom(), livingRoom()});
  std::vector<std::string> log;
  controller.enqueueTableOperation([&](OperationQueue::Done done) {
    log.push_back("first sees " + std::to_string(controller.table().size()) + " rows, list " +
                  std::to_string(listRows()));
    // Finishes later, as a worker would.
    QTimer::singleShot(30, [&log, done] {
      log.push_back("first done");
      done();
    });
  });
  controller.enqueueTableOperation([&](OperationQueue::Done done) {
    log.push_back("second");
    done();
  });
  EXPECT_TRUE(log.empty()) << "the build runs first";
  ASSERT_TRUE(waitUntil([&] { return log.size() == 3; }));
  EXPECT_EQ(log, (std::vector<std::string>{"first sees 24 rows, list 24", "first done", "second"}));
}

TEST_F(QuotationTest, WindowClosedWhileItsBuildRunsTakesNoRowsAndTheWorkerEnds) {
  const std::vector<RoomEntry> manyRooms(3000, livingRoom());

  // Gone before its first row arrived.
  open(manyRooms);
  std::weak_ptr<GuiDispatcher> dispatcher = window_->dispatcher();
  window_.reset();
  ASSERT_TRUE(waitUntil([&] { return dispatcher.expired(); }, 20000)) << "the worker ends";

  // Gone while the rows come in.
  QuotationController& controller = open(manyRooms);
  dispatcher = window_->dispatcher();
  ASSERT_TRUE(waitUntil([&] { return listRows() > 0 || !controller.building(); }, 20000));
  window_.reset();
  ASSERT_TRUE(waitUntilQuiet(*services_.workers)) << "the worker ends";
  EXPECT_TRUE(dispatcher.expired());
}

TEST_F(QuotationTest, ModifyDeleteAndAddInAFullPackage) {
  scope_ = PackageScope::Full;
  QuotationController& controller = open({livingRoom()});
  ASSERT_TRUE(waitUntil([&] { return !controller.building(); }));
  std::vector<QuoteItem> expected = livingRoomFullQuote();

  // 修改 the door to two leaves: the row takes 2960, the full total is written anew and
  // 工程总造价 keeps its value. The row stays selected, shown and focused.
  modify(4, {QStringLiteral("实木门"), QStringLiteral("扇"), QStringLiteral("2"), QStringLiteral("1480")});
  ASSERT_TRUE(waitUntil([&] { return controller.idle(); }));
  expected[4] = {"4", "实木门", "扇", "2", "1480", "2960"};
  expected.back().total = "8366";
  EXPECT_EQ(quoteRowsOf(list()), expected);
  EXPECT_EQ(list().selectionModel()->selectedRows(), QModelIndexList{list().model()->index(4, 0)});
  EXPECT_EQ(window_->focusWidget(), &list());

  // 删除此项 on the floor row: the last row is recomputed.
  remove(controller, 16);
  expected.erase(expected.begin() + 16);
  expected.back().total = "6933";
  EXPECT_EQ(quoteRowsOf(list()), expected);
  EXPECT_TRUE(list().selectionModel()->selectedRows().isEmpty());

  // 添加项: the item above a rebuilt fee block; what was below 工程总造价 stays (here only the
  // room's blank row) and the full total follows.
  add(controller, QStringLiteral("清水漆"), QStringLiteral("3"), QStringLiteral("44.5"));
  std::vector<QuoteItem> added(expected.begin(), expected.begin() + 9);
  added.insert(added.end(), {
           {},
           {"-", "清水漆", "增", "3", "44.5", "133.5"},
           {},
           {"", "其它的", "", "", "", ""},
           {"", "材料搬运费", "户", "1", "2%", "130.52"},
           {"", "垃圾清理费用", "户", "1", "1%", "65.26"},
           {"", "工程管理费", "项", "1", "8%", "522.08"},
           {},
           {"", "工程总造价", "", "", "", "7243"},
           {},
           {},
           {"", "全包总价格", "", "", "", "7243"},
       });
  EXPECT_EQ(quoteRowsOf(list()), added);
  EXPECT_EQ(controller.table().rows(), added) << "the list shows the table itself";
}

TEST_F(QuotationTest, HalfPackageModifyOfAFeeRowAndNoSelection) {
  QuotationController& controller = open({livingRoom()});
  ASSERT_TRUE(waitUntil([&] { return !controller.building(); }));
  // 工程管理费 at 10% of the works subtotal 4913.
  modify(12, {QStringLiteral("工程管理费"), QStringLiteral("项"), QStringLiteral("1"), QStringLiteral("10%")});
  ASSERT_TRUE(waitUntil([&] { return controller.idle(); }));
  std::vector<QuoteItem> expected = livingRoomComfortQuote();
  expected[12] = {"", "工程管理费", "项", "1", "10%", "491.3"};
  expected.back().total = "5551";
  EXPECT_EQ(quoteRowsOf(list()), expected);

  // Nothing selected: 修改 and 删除此项 change no row.
  list().clearSelection();
  QTest::mouseClick(modifyButton(), Qt::LeftButton);
  QTest::mouseClick(deleteButton(), Qt::LeftButton);
  ASSERT_TRUE(waitUntil([&] { return controller.idle(); }));
  EXPECT_EQ(quoteRowsOf(list()), expected);
}

TEST_F(QuotationTest, OnlyALeftPressShowsARow) {
  QuotationController& controller = open({livingRoom()});
  ASSERT_TRUE(waitUntil([&] { return !controller.building(); }));
  for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
    clickRow(list(), 4, button);
    EXPECT_EQ(detailPanel(), (std::vector<std::string>{"", "", "", ""})) << button;
  }
  EXPECT_EQ(descriptionLabel()->text(), QuotationWindow::aboutText(services_.endpoints));
  clickRow(list(), 4);
  EXPECT_EQ(detailPanel(), (std::vector<std::string>{"实木门", "扇", "1", "1480"}));
}

TEST_F(QuotationTest, EscapeLeavesTheWindowOpenAndTheCloseButtonDiscardsIt) {
  QuotationController& controller = open({livingRoom()});
  ASSERT_TRUE(waitUntil([&] { return !controller.building(); }));
  list().setFocus();
  QTest::keyClick(&list(), Qt::Key_Escape);
  QTest::keyClick(window_.get(), Qt::Key_Escape);
  QTest::keyClick(nameBox(), Qt::Key_Escape);
  EXPECT_TRUE(window_->isVisible());
  EXPECT_EQ(quoteRowsOf(list()), livingRoomComfortQuote());
  EXPECT_TRUE(window_->close());
  EXPECT_FALSE(window_->isVisible());
}

TEST_F(QuotationTest, CommandsAskedForDuringTheBuildRunAfterItInOrder) {
  QuotationController& controller = open({livingRoom()});
  ASSERT_TRUE(controller.building());
  controller.addItem({"甲", "1", "100"});
  controller.addItem({"乙", "2", "100"});
  ASSERT_TRUE(waitUntil([&] { return controller.idle(); }));
  const std::vector<QuoteItem> rows = quoteRowsOf(list());
  ASSERT_EQ(rows.size(), 19U);
  EXPECT_EQ(rows[10], (QuoteItem{"-", "甲", "增", "1", "100", "100"}));
  EXPECT_EQ(rows[11], (QuoteItem{"-", "乙", "增", "2", "100", "200"}));
  EXPECT_EQ(rows.back(), (QuoteItem{"", "工程总造价", "", "", "", "5786"}));
}

TEST_F(QuotationTest, WindowClosedWhileACommandRunsDropsTheResult) {
  QuotationController& controller = open(std::vector<RoomEntry>(400, livingRoom()));
  ASSERT_TRUE(waitUntil([&] { return !controller.building(); }, 20000));
  for (int i = 0; i < 5; ++i) controller.addItem({"甲", "1", "100"});
  std::weak_ptr<GuiDispatcher> dispatcher = window_->dispatcher();
  window_.reset();
  ASSERT_TRUE(waitUntilQuiet(*services_.workers)) << "the worker ends";
  EXPECT_TRUE(dispatcher.expired());
}

TEST_F(QuotationTest, AddItemWindowWritesDefaultPricesAndHandsOnTheTexts) {
  AddItemWindow dialog;
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  QComboBox* nameBox = control<QComboBox>(dialog, "组合框1");
  QComboBox* priceBox = control<QComboBox>(dialog, "组合框3");
  ASSERT_TRUE(pickItem(*nameBox, QStringLiteral("清水漆")));
  EXPECT_EQ(priceBox->currentText(), QStringLiteral("44.5"));
  ASSERT_TRUE(pickItem(*nameBox, QStringLiteral("包水管")));
  ASSERT_TRUE(pickItem(*nameBox, QStringLiteral("双包门套")));
  EXPECT_EQ(priceBox->currentText(), QStringLiteral("75"));
  // Typing a name is no pick.
  nameBox->setEditText(QStringLiteral("铲墙面"));
  EXPECT_EQ(priceBox->currentText(), QStringLiteral("75"));

  std::vector<AddedItem> confirmed;
  QObject::connect(&dialog, &AddItemWindow::itemConfirmed, [&](const AddedItem& item) { confirmed.push_back(item); });
  control<QComboBox>(dialog, "组合框2")->setEditText(QStringLiteral("3"));
  QTest::mouseClick(control<QPushButton>(dialog, "按钮1"), Qt::LeftButton);
  EXPECT_EQ(confirmed, (std::vector<AddedItem>{{"铲墙面", "3", "75"}}));
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_FALSE(dialog.isVisible());

  // 取消 hands on nothing.
  AddItemWindow cancelled;
  QObject::connect(&cancelled, &AddItemWindow::itemConfirmed, [&](const AddedItem& item) { confirmed.push_back(item); });
  cancelled.show();
  QTest::mouseClick(control<QPushButton>(cancelled, "按钮2"), Qt::LeftButton);
  EXPECT_EQ(confirmed.size(), 1U);
}

TEST(OperationQueue, RunsOneOperationAtATimeInTheOrderAsked) {
  OperationQueue queue;
  std::vector<std::string> log;
  OperationQueue::Done finishFirst;
  EXPECT_TRUE(queue.idle());
  queue.enqueue([&](OperationQueue::Done done) {
    log.push_back("first");
    finishFirst = done;
  });
  queue.enqueue([&](OperationQueue::Done done) {
    log.push_back("second");
    done();
  });
  queue.enqueue([&](OperationQueue::Done) { log.push_back("third"); });
  EXPECT_EQ(log, std::vector<std::string>{"first"});
  EXPECT_FALSE(queue.idle());

  finishFirst();
  EXPECT_EQ(log, (std::vector<std::string>{"first", "second", "third"}));
  // A second call of an old `done` does not end the operation now running.
  finishFirst();
  queue.enqueue([&](OperationQueue::Done) { log.push_back("fourth"); });
  EXPECT_EQ(log, (std::vector<std::string>{"first", "second", "third"}));
  EXPECT_FALSE(queue.idle());
}

TEST_F(QuotationTest, ARightPressLeavesTheShownRowTheOneThatIsModified) {
  QuotationController& controller = open({livingRoom()});
  ASSERT_TRUE(waitUntil([&] { return !controller.building(); }));
  clickRow(list(), 2);
  clickRow(list(), 5, Qt::RightButton);  // the export menu's press
  EXPECT_EQ(list().selectionModel()->selectedRows().value(0).row(), 2);
  QTest::mouseClick(modifyButton(), Qt::LeftButton);
  ASSERT_TRUE(waitUntil([&] { return controller.idle(); }));
  EXPECT_EQ(quoteRowsOf(list()), livingRoomComfortQuote());
}

TEST_F(QuotationTest, EnterInAnyPanelBoxPressesModify) {
  QuotationController& controller = open({livingRoom()});
  ASSERT_TRUE(waitUntil([&] { return !controller.building(); }));
  clickRow(list(), 4);
  const std::vector<std::pair<QWidget*, std::function<void()>>> edits{
      {quantityBox(), [&] { quantityBox()->setEditText(QStringLiteral("2")); }},
      {unitPriceBox(), [&] { unitPriceBox()->setText(QStringLiteral("1500")); }},
      {unitBox(), [&] { unitBox()->setText(QStringLiteral("樘")); }},
      {nameBox(), [&] { nameBox()->setText(QStringLiteral("原木门")); }},
  };
  for (const auto& [box, edit] : edits) {
    box->setFocus();
    edit();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_TRUE(waitUntil([&] { return controller.idle(); }));
  }
  EXPECT_EQ(controller.table()[4], (QuoteItem{"4", "原木门", "樘", "2", "1500", "3000"}));
}

TEST_F(QuotationTest, AfterADeletionThePanelIsEmptyAndModifyChangesNothing) {
  QuotationController& controller = open({livingRoom()});
  ASSERT_TRUE(waitUntil([&] { return !controller.building(); }));
  remove(controller, 4);
  EXPECT_EQ(detailPanel(), (std::vector<std::string>{"", "", "", ""}));
  const std::vector<QuoteItem> afterDeletion = quoteRowsOf(list());
  QTest::mouseClick(modifyButton(), Qt::LeftButton);
  ASSERT_TRUE(waitUntil([&] { return controller.idle(); }));
  EXPECT_EQ(quoteRowsOf(list()), afterDeletion);
}

}  // namespace
}  // namespace decor::test
