// The room entry window driven through its widgets: adding, checking, modifying, deleting and
// loading rooms, the door reactions, and the package buttons that open the quotation.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTreeView>

#include "app/main_window.h"
#include "app/quotation_controller.h"
#include "app/quotation_window.h"
#include "app/room_entry_window.h"
#include "app/room_list_controller.h"
#include "catalogue_support.h"
#include "gui_test_support.h"
#include "quotation_rows/quote_build.h"
#include "quote_test_support.h"
#include "ui/picture_button.h"
#include "ui/spin_text_box.h"

namespace decor::test {
namespace {

const QString kRoomSizeMessage = QStringLiteral("您输入的房子内容格式不正确\n正确格式为   长*宽*高");
const QString kWindowSizeMessage = QStringLiteral("您输入的窗子内容格式不正确\n正确格式为   长*高");
const QString kNoRoomsMessage = QStringLiteral("至少要添加1房间！");

// What the test saw of a quotation window while it was open.
struct SeenQuotation {
  QString caption;
  bool owned = true;
  Qt::WindowModality modality = Qt::NonModal;
  bool built = false;
  std::vector<QuoteItem> rows;
};

class RoomEntryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    services_.state->prices.resetToDefaults();
    window_ = std::make_unique<RoomEntryWindow>(
        services_, QStringLiteral("舒适型装修详细报价！"), [this] { return grade_; }, nullptr);
    controller_ = &window_->controller();
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  }
  void TearDown() override {
    window_.reset();
    flushDeletes();
  }

  // The window's controls by what they are for.
  PictureButton* addButton() { return control<PictureButton>(*window_, "按钮4"); }
  PictureButton* modifyButton() { return control<PictureButton>(*window_, "按钮8"); }
  PictureButton* deleteButton() { return control<PictureButton>(*window_, "按钮7"); }
  PictureButton* halfPackageButton() { return control<PictureButton>(*window_, "按钮5"); }
  PictureButton* fullPackageButton() { return control<PictureButton>(*window_, "按钮6"); }
  QComboBox* roomTypeBox() { return control<QComboBox>(*window_, "组合框2"); }
  QLineEdit* sizeBox() { return control<QLineEdit>(*window_, "编辑框5"); }
  QComboBox* windowBox() { return control<QComboBox>(*window_, "组合框3"); }
  QComboBox* doorTypeBox() { return control<QComboBox>(*window_, "组合框4"); }
  SpinTextBox* leavesBox() { return control<SpinTextBox>(*window_, "编辑框1"); }
  QComboBox* wallCountBox() { return control<QComboBox>(*window_, "组合框5"); }
  QRadioButton* woodenFloorButton() { return control<QRadioButton>(*window_, "单选框1"); }
  QRadioButton* tilesButton() { return control<QRadioButton>(*window_, "单选框2"); }
  QTreeView& list() { return *control<QTreeView>(*window_, "超级列表框1"); }

  void enter(const RoomEntry& room) { enterRoom(*window_, room); }

  RoomEntry inputs() {
    return {roomTypeBox()->currentText().toStdString(), sizeBox()->text().toStdString(),
            windowBox()->currentText().toStdString(),   doorTypeBox()->currentText().toStdString(),
            leavesBox()->editText().toStdString(),      wallCountBox()->currentText().toStdString()};
  }

  // Clicks a button and answers every message box with 确定; returns what was shown.
  std::vector<SeenDialog> click(QAbstractButton* button) {
    ModalAnswerer answerer({QMessageBox::Ok, QMessageBox::Ok});
    QTest::mouseClick(button, Qt::LeftButton);
    return answerer.seen();
  }

  void add(const RoomEntry& room) {
    enter(room);
    const std::vector<SeenDialog> seen = click(addButton());
    ASSERT_TRUE(seen.empty()) << seen.front().text.toStdString();
  }

  // Presses a package button; a quotation window that opens is read once its build has
  // finished, then closed.
  std::vector<SeenDialog> pressPackage(QAbstractButton* button, SeenQuotation* quotation = nullptr) {
    ModalAnswerer answerer({QMessageBox::Ok}, [&](QWidget& dialog) {
      auto* window = qobject_cast<QuotationWindow*>(&dialog);
      if (window == nullptr || quotation == nullptr) return;
      const QuotationController& controller = window->controller();
      quotation->caption = window->windowTitle();
      quotation->owned = window->parentWidget() != nullptr;
      quotation->modality = window->windowModality();
      quotation->built = waitUntil([&] { return !controller.building(); });
      quotation->rows = quoteRowsOf(*control<QTreeView>(*window, "超级列表框1"));
    });
    QTest::mouseClick(button, Qt::LeftButton);
    return answerer.seen();
  }

  std::shared_ptr<ScriptedFetcher> fetcher_ = std::make_shared<ScriptedFetcher>();
  AppServices services_ = testServices(fetcher_);
  std::string grade_ = "舒适型装修";
  std::unique_ptr<RoomEntryWindow> window_;
  RoomListController* controller_ = nullptr;
};

TEST_F(RoomEntryTest, AddAppendsTheInputsAsAWholeRow) {
  EXPECT_EQ(inputs(), initialRoomInput());
  add(initialRoomInput());
  const RoomEntry bedroom{"卧室", "3600*3000*2800", "1500*1500", "实木免漆门", "2", "3"};
  add(bedroom);
  // A typed room type is taken as it is; the build gives it a heading only.
  const RoomEntry storeroom{"储藏室", "1500*1200*2800", "0*0", "移门", "1", "1"};
  add(storeroom);

  const std::vector<RoomEntry> expected{initialRoomInput(), bedroom, storeroom};
  EXPECT_EQ(roomRowsOf(list()), expected);
  EXPECT_EQ(controller_->rooms().rows(), expected);
  EXPECT_EQ(inputs(), storeroom) << "the inputs keep what was added";
}

// Which sizes are malformed is the room list's rule; here each size box reaches it and its
// message reaches the user.
TEST_F(RoomEntryTest, MalformedSizesShowTheirMessageAndAddNothing) {
  struct Case {
    std::string size, window;
    QString message;
  };
  const std::vector<Case> cases{
      {"3200*2800", "800*1500", kRoomSizeMessage},
      {"3200*2800*2920", "1500", kWindowSizeMessage},
  };
  for (const Case& c : cases) {
    RoomEntry room = livingRoom();
    room.size = c.size;
    room.window = c.window;
    enter(room);
    const std::vector<SeenDialog> seen = click(addButton());
    ASSERT_EQ(seen.size(), 1u) << c.size << " " << c.window;
    EXPECT_EQ(seen[0].title, QStringLiteral("信息："));
    EXPECT_EQ(seen[0].text, c.message) << c.size << " " << c.window;
    EXPECT_EQ(seen[0].icon, QMessageBox::Information);
    EXPECT_EQ(seen[0].buttons, QStringList{QStringLiteral("确定")});
    EXPECT_TRUE(seen[0].applicationModal);
    EXPECT_EQ(inputs(), room) << "the inputs stay as they were";
  }
  EXPECT_TRUE(roomRowsOf(list()).empty());
  EXPECT_TRUE(controller_->rooms().empty());
}

// The leaves the room list resets for a room without a door reach the leaves box, also when the
// add is refused.
TEST_F(RoomEntryTest, NoDoorShowsZeroLeavesEvenWhenTheCheckThenFails) {
  RoomEntry room = livingRoom();
  room.size = "3200*2800";
  room.doorType = "(无)";
  room.doorLeaves = "2";
  enter(room);
  ASSERT_EQ(inputs().doorLeaves, "2");
  ASSERT_EQ(inputs().doorType, "(无)");
  const std::vector<SeenDialog> seen = click(addButton());
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, kRoomSizeMessage);
  EXPECT_EQ(inputs().doorLeaves, "0");
  EXPECT_EQ(inputs().doorType, "(无)");
  EXPECT_TRUE(roomRowsOf(list()).empty());
}

TEST_F(RoomEntryTest, PickingADoorTypeSetsTheLeavesAndKeepsThePickedType) {
  ASSERT_TRUE(pickItem(*doorTypeBox(), QStringLiteral("(无)")));
  EXPECT_EQ(doorTypeBox()->currentText(), QStringLiteral("(无)"));
  EXPECT_EQ(leavesBox()->editText(), QStringLiteral("0"));

  ASSERT_TRUE(pickItem(*doorTypeBox(), QStringLiteral("推拉门")));
  EXPECT_EQ(doorTypeBox()->currentText(), QStringLiteral("推拉门")) << "the leaves written do not turn it into 实木门";
  EXPECT_EQ(leavesBox()->editText(), QStringLiteral("1"));

  // Typing a door type is no pick: the leaves stay.
  doorTypeBox()->lineEdit()->clear();
  typeText(*doorTypeBox()->lineEdit(), QStringLiteral("(无)"));
  EXPECT_EQ(doorTypeBox()->currentText(), QStringLiteral("(无)"));
  EXPECT_EQ(leavesBox()->editText(), QStringLiteral("1"));
}

TEST_F(RoomEntryTest, TypedTextsStayAsTypedAndTheListsKeepTheirItems) {
  // Each editable drop-down gets a text that begins like one of its items, then Enter, then
  // the focus moves on: the text stays as typed and no item is added.
  const std::vector<std::pair<QComboBox*, QString>> typed = {
      {roomTypeBox(), QStringLiteral("卫")},
      {windowBox(), QStringLiteral("1500")},
      {doorTypeBox(), QStringLiteral("实木")},
      {wallCountBox(), QStringLiteral("5")},
  };
  expectTypedTextsStay(typed, *sizeBox());

  // So a window typed as 1500 is refused, not completed to 1500*1500.
  const std::vector<SeenDialog> seen = click(addButton());
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, kWindowSizeMessage);
  EXPECT_TRUE(roomRowsOf(list()).empty());
}

TEST_F(RoomEntryTest, TypingADoorTypeIsNoPickWhenTheBoxIsLeft) {
  const RoomEntry sliding{"卧室", "3600*3000*2800", "1500*1500", "推拉门", "2", "3"};
  enter(sliding);
  doorTypeBox()->setFocus();
  doorTypeBox()->lineEdit()->selectAll();
  typeText(*doorTypeBox()->lineEdit(), QStringLiteral("推拉门"));
  QTest::keyClick(doorTypeBox()->lineEdit(), Qt::Key_Return);
  // Pressing 添加 takes the focus from the door type: the two leaves stay.
  EXPECT_TRUE(click(addButton()).empty());
  EXPECT_EQ(roomRowsOf(list()), std::vector<RoomEntry>{sliding});

  doorTypeBox()->setFocus();
  doorTypeBox()->lineEdit()->selectAll();
  typeText(*doorTypeBox()->lineEdit(), QStringLiteral("(无)"));
  sizeBox()->setFocus();
  EXPECT_EQ(leavesBox()->editText(), QStringLiteral("2"));
  EXPECT_EQ(doorTypeBox()->currentText(), QStringLiteral("(无)"));

  // Stepping through the list with the arrow keys is a pick.
  doorTypeBox()->setFocus();
  const int before = doorTypeBox()->currentIndex();
  QTest::keyClick(doorTypeBox(), Qt::Key_Down);
  ASSERT_EQ(doorTypeBox()->currentIndex(), before + 1);
  EXPECT_EQ(leavesBox()->editText(), QStringLiteral("1"));
}

TEST_F(RoomEntryTest, ChangingTheLeavesSetsTheDoorTypeOrResetsTheLeaves) {
  SpinTextBox& leaves = *leavesBox();
  QComboBox& door = *doorTypeBox();
  ASSERT_TRUE(pickItem(door, QStringLiteral("推拉门")));

  // Typed: select the text and type over it.
  leaves.setFocus();
  leaves.selectAll();
  typeText(leaves, QStringLiteral("0"));
  EXPECT_EQ(leaves.editText(), QStringLiteral("0"));
  EXPECT_EQ(door.currentText(), QStringLiteral("(无)"));

  leaves.selectAll();
  typeText(leaves, QStringLiteral("2"));
  EXPECT_EQ(leaves.editText(), QStringLiteral("2"));
  EXPECT_EQ(door.currentText(), QStringLiteral("实木门"));

  // A minus sign resets the leaves; the 0 written back changes no door type. Typed key by key,
  // the minus resets to 0 and the 1 after it does not make "01".
  ASSERT_TRUE(pickItem(door, QStringLiteral("移门")));
  leaves.selectAll();
  typeText(leaves, QStringLiteral("-1"));
  EXPECT_EQ(leaves.editText(), QStringLiteral("0"));
  EXPECT_EQ(door.currentText(), QStringLiteral("移门"));

  // The spin buttons change the text as well.
  leaves.stepUp();
  EXPECT_EQ(leaves.editText(), QStringLiteral("1"));
  EXPECT_EQ(door.currentText(), QStringLiteral("实木门"));
  leaves.stepDown();
  EXPECT_EQ(leaves.editText(), QStringLiteral("0"));
  EXPECT_EQ(door.currentText(), QStringLiteral("(无)"));
}

TEST_F(RoomEntryTest, ClickOnARowLoadsItIntoTheInputs) {
  const RoomEntry bedroom{"卧室", "3600*3000*2800", "1500*1500", "推拉门", "2", "3"};
  add(livingRoom());
  add(bedroom);
  clickRow(list(), 0);
  EXPECT_EQ(inputs(), livingRoom());
  clickRow(list(), 1);
  EXPECT_EQ(inputs(), bedroom) << "loading leaves 2 keeps the door type";
  EXPECT_EQ(sizeBox()->cursorPosition(), 0) << "a long size shows its beginning";
  EXPECT_EQ(windowBox()->lineEdit()->cursorPosition(), 0);

  // A row stored by 修改 with no door and 2 leaves loads unchanged as well.
  const RoomEntry odd{"书房", "3000*2800*2800", "600*1500", "(无)", "2", "2"};
  enter(odd);
  click(modifyButton());
  enter(livingRoom());
  clickRow(list(), 1);
  EXPECT_EQ(inputs(), odd);
}

TEST_F(RoomEntryTest, RightClickOnARowLoadsNothing) {
  add(livingRoom());
  const RoomEntry typed{"卫生间", "2000*1800*2800", "600*1500", "塑钢门", "1", "2"};
  enter(typed);
  clickRow(list(), 0, Qt::RightButton);
  EXPECT_EQ(inputs(), typed);
  clickRow(list(), 0);
  EXPECT_EQ(inputs(), livingRoom());
}

TEST_F(RoomEntryTest, ClickOnARowWithoutRoomTypeLoadsNothing) {
  RoomEntry nameless = livingRoom();
  nameless.roomType = "";
  nameless.size = "1*2*3";
  add(nameless);
  const RoomEntry typed{"卫生间", "2000*1800*2800", "600*1500", "塑钢门", "1", "2"};
  enter(typed);
  clickRow(list(), 0);
  EXPECT_EQ(inputs(), typed);
  EXPECT_EQ(roomRowsOf(list()), std::vector<RoomEntry>{nameless});
}

TEST_F(RoomEntryTest, ModifyOverwritesTheSelectedRowAndFocusesTheList) {
  add(livingRoom());
  const RoomEntry kitchen{"厨房", "2400*1800*2800", "600*1500", "移门", "1", "3"};
  add(kitchen);

  // Nothing selected: nothing written, nothing said.
  enter(RoomEntry{"阳台", "3000*1500*2800", "0*0", "(无)", "0", "2"});
  EXPECT_TRUE(click(modifyButton()).empty());
  EXPECT_EQ(roomRowsOf(list()), (std::vector<RoomEntry>{livingRoom(), kitchen}));

  clickRow(list(), 0);
  const RoomEntry balcony{"阳台", "3000*1500*2800", "0*0", "(无)", "2", "2"};
  enter(balcony);
  addButton()->setFocus();
  EXPECT_TRUE(click(modifyButton()).empty());
  EXPECT_EQ(roomRowsOf(list()), (std::vector<RoomEntry>{balcony, kitchen})) << "no leaves reset";
  EXPECT_EQ(controller_->rooms().rows(), (std::vector<RoomEntry>{balcony, kitchen}));
  EXPECT_EQ(QApplication::focusWidget(), &list());
}

// Letters and negative numbers in the sizes are refused by 添加 and by 修改, naming the field;
// a malformed size is refused by 修改 as by 添加. The list stays as it was.
TEST_F(RoomEntryTest, AddAndModifyRefuseLettersNegativesAndMalformedSizesNamingTheField) {
  add(livingRoom());
  struct Case {
    RoomEntry room;
    QString message;
  };
  const std::vector<Case> cases{
      {{"卧室", "3600*3000*abc", "1500*1500", "实木门", "1", "4"}, QStringLiteral("房间长宽高只能填写数字，且不能为负数")},
      {{"卧室", "3600*-3000*2800", "1500*1500", "实木门", "1", "4"}, QStringLiteral("房间长宽高只能填写数字，且不能为负数")},
      {{"卧室", "3600*3000*2800", "1500*-1", "实木门", "1", "4"}, QStringLiteral("窗户长高只能填写数字，且不能为负数")},
      {{"卧室", "3600*3000*2800", "1500*1500", "实木门", "1", "四"}, QStringLiteral("墙面数只能填写数字，且不能为负数")},
      {{"卧室", "3600*3000", "1500*1500", "实木门", "1", "4"}, kRoomSizeMessage},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.room.size + " | " + c.room.window + " | " + c.room.wallCount);
    enter(c.room);
    std::vector<SeenDialog> seen = click(addButton());
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, c.message);
    EXPECT_EQ(seen[0].icon, QMessageBox::Information);
    EXPECT_EQ(inputs(), c.room) << "the inputs stay for the user to mend";

    clickRow(list(), 0);
    enter(c.room);
    seen = click(modifyButton());
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, c.message);
    EXPECT_EQ(seen[0].icon, QMessageBox::Information);
    EXPECT_EQ(roomRowsOf(list()), std::vector<RoomEntry>{livingRoom()});
  }
  // The door leaves box itself resets a minus sign, so its field is checked in the core only.
  EXPECT_EQ(controller_->rooms().rows(), std::vector<RoomEntry>{livingRoom()});
}

// One long entry does not widen its column: every column keeps its width and stays in the
// list, and the whole text is the cell's tooltip.
TEST_F(RoomEntryTest, ALongEntryIsCutShortAndTheColumnsKeepTheirWidths) {
  add(livingRoom());
  std::vector<int> widths;
  for (int column = 0; column < 6; ++column) widths.push_back(list().columnWidth(column));

  const QString fullWidth = QStringLiteral("３２００*２８００*２９２０");
  enter(livingRoom());
  sizeBox()->clear();
  typeText(*sizeBox(), fullWidth);
  ASSERT_TRUE(click(addButton()).empty()) << "full-width digits are numbers";
  ASSERT_EQ(roomRowsOf(list()).size(), 2u);
  ASSERT_GT(list().fontMetrics().horizontalAdvance(fullWidth), list().columnWidth(1)) << "the text must not fit";

  for (int column = 0; column < 6; ++column) EXPECT_EQ(list().columnWidth(column), widths[column]) << column;
  const QHeaderView& header = *list().header();
  EXPECT_LE(header.sectionViewportPosition(5) + header.sectionSize(5), list().viewport()->width())
      << "墙面数 stays in the list";
  EXPECT_FALSE(list().horizontalScrollBar()->isVisible());
  const QModelIndex cell = list().model()->index(1, 1);
  EXPECT_EQ(cell.data(Qt::ToolTipRole).toString(), fullWidth);
  EXPECT_EQ(cell.data(Qt::DisplayRole).toString(), fullWidth);
  EXPECT_EQ(list().textElideMode(), Qt::ElideMiddle);
}

TEST_F(RoomEntryTest, DeleteRemovesTheSelectedRowOnly) {
  const RoomEntry kitchen{"厨房", "2400*1800*2800", "600*1500", "移门", "1", "3"};
  const RoomEntry bathroom{"卫生间", "2000*1800*2800", "600*1500", "塑钢门", "1", "2"};
  add(livingRoom());
  add(kitchen);
  add(bathroom);

  EXPECT_TRUE(click(deleteButton()).empty());
  EXPECT_EQ(roomRowsOf(list()).size(), 3u) << "nothing selected, nothing deleted";

  clickRow(list(), 1);
  click(deleteButton());
  EXPECT_EQ(roomRowsOf(list()), (std::vector<RoomEntry>{livingRoom(), bathroom}));
  EXPECT_EQ(controller_->rooms().rows(), (std::vector<RoomEntry>{livingRoom(), bathroom}));

  // The deleted row's selection does not pass to its neighbour.
  click(deleteButton());
  EXPECT_EQ(roomRowsOf(list()).size(), 2u);

  clickRow(list(), 1);
  click(deleteButton());
  clickRow(list(), 0);
  click(deleteButton());
  EXPECT_TRUE(roomRowsOf(list()).empty());
  EXPECT_TRUE(controller_->rooms().empty());
}

TEST_F(RoomEntryTest, PackageButtonsWithoutRoomsWarnAndOpenNothing) {
  for (PictureButton* button : {fullPackageButton(), halfPackageButton()}) {
    SeenQuotation quotation;
    const std::vector<SeenDialog> seen = pressPackage(button, &quotation);
    ASSERT_EQ(seen.size(), 1u) << "no quotation window";
    EXPECT_EQ(seen[0].className, QStringLiteral("QMessageBox"));
    EXPECT_EQ(seen[0].title, QStringLiteral("信息："));
    EXPECT_EQ(seen[0].text, kNoRoomsMessage);
    EXPECT_EQ(seen[0].icon, QMessageBox::Warning);
    EXPECT_EQ(seen[0].buttons, QStringList{QStringLiteral("确定")});
  }
}

// Rooms read back as stored may hold one the build cannot read: the package button names it,
// selects it and loads it into the inputs, so that the next 修改 mends that room.
TEST_F(RoomEntryTest, RoomTheBuildCannotReadIsNamedSelectedAndLoaded) {
  RoomEntry shortSize = livingRoom();
  shortSize.size = "3200*2800";
  const RoomEntry shortWindow{"卧室", "3600*3000*2800", "1500", "推拉门", "2", "3"};
  controller_->replaceRooms({livingRoom(), shortWindow, shortSize});
  ASSERT_EQ(roomRowsOf(list()), (std::vector<RoomEntry>{livingRoom(), shortWindow, shortSize}));
  clickRow(list(), 0);

  std::vector<SeenDialog> seen = pressPackage(halfPackageButton());
  ASSERT_EQ(seen.size(), 1u) << "no quotation window";
  EXPECT_EQ(seen[0].text, QStringLiteral("第2个房间（卧室）：") + kWindowSizeMessage) << "the first unreadable room";
  EXPECT_EQ(seen[0].icon, QMessageBox::Information);
  ASSERT_EQ(list().selectionModel()->selectedRows().size(), 1);
  EXPECT_EQ(list().selectionModel()->selectedRows().front().row(), 1);
  EXPECT_EQ(inputs(), shortWindow);

  windowBox()->setCurrentText(QStringLiteral("1500*1500"));
  EXPECT_TRUE(click(modifyButton()).empty());
  RoomEntry mended = shortWindow;
  mended.window = "1500*1500";
  EXPECT_EQ(roomRowsOf(list()), (std::vector<RoomEntry>{livingRoom(), mended, shortSize}));

  seen = pressPackage(fullPackageButton());
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, QStringLiteral("第3个房间（客厅）：") + kRoomSizeMessage);
  EXPECT_EQ(list().selectionModel()->selectedRows().front().row(), 2);
  EXPECT_EQ(inputs(), shortSize);
}

TEST_F(RoomEntryTest, HalfPackageOpensTheQuotationOfTheRoomsWithoutOwnerAndModal) {
  add(livingRoom());
  SeenQuotation quotation;
  const std::vector<SeenDialog> seen = pressPackage(halfPackageButton(), &quotation);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].className, QStringLiteral("decor::QuotationWindow"));
  EXPECT_TRUE(seen[0].applicationModal);
  EXPECT_EQ(quotation.caption, QStringLiteral("半包装修详细报价"));
  EXPECT_FALSE(quotation.owned);
  EXPECT_EQ(quotation.modality, Qt::ApplicationModal);
  EXPECT_TRUE(quotation.built);
  EXPECT_EQ(quotation.rows, livingRoomComfortQuote());
  EXPECT_TRUE(window_->isVisible()) << "the room list stays open behind it";
  EXPECT_EQ(roomRowsOf(list()), std::vector<RoomEntry>{livingRoom()});
}

TEST_F(RoomEntryTest, FullPackageBuildsTheFullQuote) {
  add(livingRoom());
  SeenQuotation quotation;
  pressPackage(fullPackageButton(), &quotation);
  EXPECT_EQ(quotation.caption, QStringLiteral("全包装修详细报价"));
  EXPECT_TRUE(quotation.built);
  EXPECT_EQ(quotation.rows, livingRoomFullQuote());
}

TEST_F(RoomEntryTest, QuotationTakesTheFloorChoiceAndTheGradeOfThatMoment) {
  add(livingRoom());
  QTest::mouseClick(tilesButton(), Qt::LeftButton);
  ASSERT_TRUE(tilesButton()->isChecked());
  SeenQuotation tiled;
  pressPackage(halfPackageButton(), &tiled);
  std::vector<QuoteItem> expected = livingRoomComfortQuote();
  // 地砖铺贴 comes in after the door; everything after it moves one number down.
  ASSERT_EQ(tiled.rows.size(), expected.size() + 1);
  EXPECT_EQ(std::vector<QuoteItem>(tiled.rows.begin(), tiled.rows.begin() + 5),
            std::vector<QuoteItem>(expected.begin(), expected.begin() + 5));
  EXPECT_EQ(tiled.rows[5].number, "5");
  EXPECT_EQ(tiled.rows[5].name, "地砖铺贴");
  EXPECT_EQ(tiled.rows[6].number, "6");
  EXPECT_EQ(tiled.rows[6].name, "局部吊顶");

  // The grade is asked for at the press, not when the window opened.
  grade_ = "豪华型装修";
  QTest::mouseClick(woodenFloorButton(), Qt::LeftButton);
  add(RoomEntry{"餐厅", "3000*2800*2800", "0*0", "(无)", "0", "3"});
  SeenQuotation luxury;
  pressPackage(halfPackageButton(), &luxury);
  QuoteTable reference;
  buildRoomWorksAndFees(QuoteRequest{.rooms = {livingRoom(), RoomEntry{"餐厅", "3000*2800*2800", "0*0", "(无)", "0", "3"}},
                          .grade = "豪华型装修",
                          .scope = PackageScope::Half,
                          .floor = FloorChoice::WoodenFloor},
             services_.state->prices.itemPrices(), reference);
  EXPECT_EQ(luxury.rows, reference.rows());
  ASSERT_GT(luxury.rows.size(), 5u);
  EXPECT_EQ(luxury.rows[5].name, "艺术吊顶");
}

TEST(RoomEntryFromMainWindow, CarriesTheRoomListControllerAndTheMainWindowsGrade) {
  auto fetcher = std::make_shared<ScriptedFetcher>();
  AppServices services = testServices(fetcher);
  MainWindow main(services);
  main.start();
  ASSERT_TRUE(waitUntil([&] { return fetcher->finishedCount() >= 5; }));
  {
    ModalAnswerer answerer({QMessageBox::Yes});
    QTest::mouseClick(control<PictureButton>(main, "按钮2"), Qt::LeftButton);
  }
  RoomEntryWindow* rooms = main.roomEntryWindow();
  ASSERT_NE(rooms, nullptr);
  control<QComboBox>(main, "组合框1")->setCurrentIndex(0);  // 出租房装修

  QTest::mouseClick(control<PictureButton>(*rooms, "按钮4"), Qt::LeftButton);
  const std::vector<QuoteItem> shown = quotationRowsOpenedBy(*control<PictureButton>(*rooms, "按钮5"));
  QuoteTable reference;
  buildRoomWorksAndFees(QuoteRequest{.rooms = {livingRoom()}, .grade = "出租房装修"}, services.state->prices.itemPrices(),
             reference);
  EXPECT_EQ(shown, reference.rows());
  ASSERT_GT(shown.size(), 1u);
  EXPECT_EQ(shown[1].name, "顶面批腻子");
  {
    ModalAnswerer letGo({QMessageBox::Discard});
    EXPECT_TRUE(rooms->close());
    EXPECT_EQ(letGo.seen().size(), 1u) << "its room is in no file";
  }
  flushDeletes();
}

TEST_F(RoomEntryTest, ARightPressLeavesTheLoadedRowTheOneThatIsModified) {
  const RoomEntry bedroom{"卧室", "3600*3000*2800", "1500*1500", "实木免漆门", "2", "3"};
  add(livingRoom());
  add(bedroom);
  clickRow(list(), 0);
  clickRow(list(), 1, Qt::RightButton);
  click(modifyButton());
  EXPECT_EQ(roomRowsOf(list()), (std::vector<RoomEntry>{livingRoom(), bedroom}));
}

TEST_F(RoomEntryTest, ArrowKeysLoadTheRowTheyMoveTo) {
  const RoomEntry bedroom{"卧室", "3600*3000*2800", "1500*1500", "实木免漆门", "2", "3"};
  add(livingRoom());
  add(bedroom);
  clickRow(list(), 0);
  QTest::keyClick(&list(), Qt::Key_Down);
  EXPECT_EQ(inputs(), bedroom);
  QTest::keyClick(&list(), Qt::Key_Up);
  EXPECT_EQ(inputs(), livingRoom());
}

// Also once the rows need the scroll bar: every column and every text in full view.
TEST_F(RoomEntryTest, AllSixColumnsAndTheirTextsFitTheList) {
  const RoomEntry widest{"卫生间", "3200*2800*2920", "1500*1500", "实木免漆门", "10", "4"};
  for (int room = 0; room < 12; ++room) add(widest);
  QTreeView& view = list();
  QHeaderView& header = *view.header();
  const QAbstractItemModel& model = *view.model();
  const int cellMargin = 2 * (view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1);
  const int headerMargin = 2 * view.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &header);
  ASSERT_EQ(model.columnCount(), 6);
  for (int column = 0; column < 6; ++column) {
    SCOPED_TRACE(column);
    EXPECT_LE(header.sectionViewportPosition(column) + header.sectionSize(column), view.viewport()->width());
    const QString title = model.headerData(column, Qt::Horizontal).toString();
    EXPECT_GE(header.sectionSize(column), header.fontMetrics().horizontalAdvance(title) + headerMargin) << title.toStdString();
    const QModelIndex cell = model.index(0, column);
    EXPECT_GE(view.visualRect(cell).width(),
              view.fontMetrics().horizontalAdvance(cell.data().toString()) + cellMargin);
  }
}

}  // namespace
}  // namespace decor::test
