#include <gtest/gtest.h>

#include "quotation_rows/room_list.h"
#include "quote_test_support.h"

namespace decor {
namespace {

RoomEntry room(std::string size, std::string window, std::string doorType = "实木门", std::string leaves = "1") {
  return RoomEntry{"客厅", std::move(size), std::move(window), std::move(doorType), std::move(leaves), "4"};
}

TEST(RoomListAdd, AcceptsThreeSizePiecesAndTwoWindowPieces) {
  RoomList list;
  RoomEntry input = initialRoomInput();
  EXPECT_EQ(input, (RoomEntry{"客厅", "3200*2800*2920", "800*1500", "实木门", "1", "4"}));
  const AddOutcome outcome = list.add(input);
  EXPECT_TRUE(outcome.added);
  EXPECT_EQ(outcome.message, "");
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list.rows()[0], (RoomEntry{"客厅", "3200*2800*2920", "800*1500", "实木门", "1", "4"}));

  // An empty last piece is dropped, so a trailing "*" still gives three pieces; the text is kept as typed.
  RoomEntry trailing = room("3200*2800*2920*", "800*1500");
  EXPECT_TRUE(list.add(trailing).added);
  // An empty inner piece is a piece.
  RoomEntry inner = room("3200**2920", "*1500");
  EXPECT_TRUE(list.add(inner).added);
  // Pieces are not checked to be numbers.
  RoomEntry letters = room("a*b*c", "x*y");
  EXPECT_TRUE(list.add(letters).added);
  EXPECT_EQ(list.rows(), (std::vector<RoomEntry>{list.rows()[0], trailing, inner, letters}));
  EXPECT_EQ(list.rows()[1].size, "3200*2800*2920*");
}

TEST(RoomListAdd, RefusesMalformedSizesWithTheirMessages) {
  RoomList list;
  for (const std::string size : {"3200*2800", "", "3200*2800*2920*1", "3200"}) {
    RoomEntry input = room(size, "800*1500");
    const AddOutcome outcome = list.add(input);
    EXPECT_FALSE(outcome.added) << size;
    EXPECT_EQ(outcome.message, "您输入的房子内容格式不正确\r\n正确格式为   长*宽*高") << size;
  }
  for (const std::string window : {"1500", "", "800*1500*1"}) {
    RoomEntry input = room("3200*2800*2920", window);
    const AddOutcome outcome = list.add(input);
    EXPECT_FALSE(outcome.added) << window;
    EXPECT_EQ(outcome.message, "您输入的窗子内容格式不正确\r\n正确格式为   长*高") << window;
  }
  // The room size is checked first.
  RoomEntry both = room("3200", "1500");
  EXPECT_EQ(list.add(both).message, kRoomSizeFormatMessage);
  EXPECT_TRUE(list.empty());
}

TEST(RoomListAdd, NoDoorResetsTheLeavesEvenWhenRefused) {
  RoomList list;
  RoomEntry input = room("3200*2800*2920", "800*1500", "(无)", "2");
  EXPECT_TRUE(list.add(input).added);
  EXPECT_EQ(input.doorLeaves, "0");  // for the window to write back
  EXPECT_EQ(list.rows()[0], room("3200*2800*2920", "800*1500", "(无)", "0"));

  RoomEntry refused = room("3200*2800", "800*1500", "(无)", "3");
  EXPECT_FALSE(list.add(refused).added);
  EXPECT_EQ(refused, room("3200*2800", "800*1500", "(无)", "0"));
  EXPECT_EQ(list.size(), 1u);

  RoomEntry door = room("3200*2800*2920", "800*1500", "移门", "2");
  EXPECT_TRUE(list.add(door).added);
  EXPECT_EQ(list.rows()[1].doorLeaves, "2");
}

TEST(RoomListEdit, ModifyStoresUncheckedAndNeedsASelectedRow) {
  RoomList list;
  RoomEntry first = initialRoomInput();
  list.add(first);
  RoomEntry second = room("3000*2000*2800", "600*1500");
  list.add(second);

  // No format check and no leaves reset.
  const RoomEntry malformed{"卧室", "3200*2800", "1500", "(无)", "2", "3"};
  EXPECT_TRUE(list.modify(1, malformed));
  EXPECT_EQ(list.rows(), (std::vector<RoomEntry>{first, malformed}));

  EXPECT_FALSE(list.modify(std::nullopt, second));
  EXPECT_FALSE(list.modify(2, second));
  EXPECT_EQ(list.rows(), (std::vector<RoomEntry>{first, malformed}));
}

TEST(RoomListEdit, DeleteAndLoadRow) {
  RoomList list;
  RoomEntry a = room("1*1*1", "0*0");
  RoomEntry b = room("2*2*2", "0*0");
  RoomEntry c = room("3*3*3", "0*0");
  list.add(a);
  list.add(b);
  list.add(c);

  EXPECT_FALSE(list.remove(std::nullopt));
  EXPECT_FALSE(list.remove(3));
  EXPECT_TRUE(list.remove(1));
  EXPECT_EQ(list.rows(), (std::vector<RoomEntry>{a, c}));

  EXPECT_EQ(list.loadRow(1), c);
  EXPECT_EQ(list.loadRow(std::nullopt), std::nullopt);
  EXPECT_EQ(list.loadRow(2), std::nullopt);
  // A row whose room type was emptied through Modify is not loaded.
  list.modify(0, RoomEntry{"", "1*1*1", "0*0", "实木门", "1", "4"});
  EXPECT_EQ(list.loadRow(0), std::nullopt);
}

TEST(RoomListMeasures, RefusesLettersAndNegativesNamingTheField) {
  struct Case {
    RoomEntry room;
    std::optional<RoomMeasureProblem> problem;
  };
  const auto refused = [](std::size_t column, const char* message) {
    return std::optional<RoomMeasureProblem>(RoomMeasureProblem{.column = column, .message = message});
  };
  const std::vector<Case> cases{
      {initialRoomInput(), std::nullopt},
      {{"卧室", "３２００*２８００*２９２０", "0*0", "(无)", "0", "4"}, std::nullopt},
      {{"卧室", " 3200.5 *2800*2920", "800*1500", "实木门", "1", "4"}, std::nullopt},
      {{"卧室", "3200*-2800*2920", "800*1500", "实木门", "1", "4"}, refused(1, "房间长宽高只能填写数字，且不能为负数")},
      {{"卧室", "3200*2800*abc", "800*1500", "实木门", "1", "4"}, refused(1, "房间长宽高只能填写数字，且不能为负数")},
      {{"卧室", "3200**2920", "800*1500", "实木门", "1", "4"}, refused(1, "房间长宽高只能填写数字，且不能为负数")},
      {{"卧室", "3200*2800*2920", "800*1e3", "实木门", "1", "4"}, refused(2, "窗户长高只能填写数字，且不能为负数")},
      {{"卧室", "3200*2800*2920", "800*1500", "实木门", "-1", "4"}, refused(4, "门的扇数只能填写数字，且不能为负数")},
      {{"卧室", "3200*2800*2920", "800*1500", "实木门", "1*2", "4"}, refused(4, "门的扇数只能填写数字，且不能为负数")},
      {{"卧室", "3200*2800*2920", "800*1500", "实木门", "1", ""}, refused(5, "墙面数只能填写数字，且不能为负数")},
      {{"卧室", "3200*2800*2920", "800*1500", "实木门", "1", "4面"}, refused(5, "墙面数只能填写数字，且不能为负数")},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(roomMeasureProblem(c.room), c.problem) << c.room.size << " | " << c.room.window << " | "
                                                     << c.room.doorLeaves << " | " << c.room.wallCount;
  }
}

TEST(RoomListDoor, DoorTypePickedSetsTheLeaves) {
  EXPECT_EQ(leavesForDoorType("(无)"), "0");
  EXPECT_EQ(leavesForDoorType("移门"), "1");
  EXPECT_EQ(leavesForDoorType("手写的门"), "1");
}

TEST(RoomListDoor, LeavesChangedSetsTheDoorTypeOrResetsTheLeaves) {
  EXPECT_EQ(reactToLeaves("0"), (LeavesReaction{.leaves = std::nullopt, .doorType = "(无)"}));
  EXPECT_EQ(reactToLeaves("2"), (LeavesReaction{.leaves = std::nullopt, .doorType = "实木门"}));
  EXPECT_EQ(reactToLeaves(""), (LeavesReaction{.leaves = std::nullopt, .doorType = "实木门"}));
  EXPECT_EQ(reactToLeaves("00"), (LeavesReaction{.leaves = std::nullopt, .doorType = "实木门"}));
  EXPECT_EQ(reactToLeaves("-1"), (LeavesReaction{.leaves = "0", .doorType = std::nullopt}));
  EXPECT_EQ(reactToLeaves("1-"), (LeavesReaction{.leaves = "0", .doorType = std::nullopt}));
}

TEST(RoomListPackage, EmptyListWarnsBeforeAQuote) {
  RoomList list;
  EXPECT_EQ(list.packageButtonWarning(), std::optional<std::string_view>("至少要添加1房间！"));
  RoomEntry input = initialRoomInput();
  list.add(input);
  EXPECT_EQ(list.packageButtonWarning(), std::nullopt);
}

TEST(RoomListWindow, CaptionNamesTheGrade) {
  EXPECT_EQ(roomEntryCaption("舒适型装修"), "舒适型装修详细报价！");
  EXPECT_EQ(roomEntryCaption("精  装  修"), "精  装  修详细报价！");
}

}  // namespace
}  // namespace decor
