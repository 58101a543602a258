#include <gtest/gtest.h>

#include <functional>

#include "pricing/price_table.h"
#include "quotation_rows/works.h"
#include "quote_test_support.h"

namespace decor {
namespace {

using test::header;

// The rows a work appends under a room header, so that numbering starts at 1.
std::vector<QuoteItem> rowsOf(const std::function<void(QuoteTable&)>& work) {
  QuoteTable table;
  table.appendHeading("房间");
  work(table);
  return std::vector<QuoteItem>(table.rows().begin() + 1, table.rows().end());
}

const ItemPrices& defaults() {
  static const ItemPrices prices = ItemPrices::defaults();
  return prices;
}

RoomMeasures livingRoom(std::int32_t walls = 4) {
  return RoomMeasures{.length = 3200, .width = 2800, .height = 2920, .windowLength = 800, .windowHeight = 1500,
                      .doorLeaves = 1, .wallCount = walls};
}

TEST(PuttyAndPaint, FourWallsAndTwoWalls) {
  EXPECT_EQ(rowsOf([](QuoteTable& t) { appendPuttyAndPaint(t, defaults(), livingRoom()); }),
            (std::vector<QuoteItem>{{"1", "顶面批腻子", "M2", "8.96", "13", "116.48"},
                                    {"2", "墙面批腻子", "M2", "34.44", "12", "413.28"},
                                    {"3", "墙顶面乳胶漆", "M2", "43.4", "10", "434"}}));
  // A = 17 520 000, less the same 600 001 of openings.
  EXPECT_EQ(rowsOf([](QuoteTable& t) { appendPuttyAndPaint(t, defaults(), livingRoom(2)); }),
            (std::vector<QuoteItem>{{"1", "顶面批腻子", "M2", "8.96", "13", "116.48"},
                                    {"2", "墙面批腻子", "M2", "16.92", "12", "203.04"},
                                    {"3", "墙顶面乳胶漆", "M2", "25.88", "10", "258.8"}}));
}

TEST(PuttyAndPaint, NoOpeningsEmptyPricesAndOversizedWindows) {
  RoomMeasures closed = livingRoom();
  closed.windowLength = 0;
  closed.windowHeight = 0;
  closed.doorLeaves = 0;
  ItemPrices prices = ItemPrices::defaults();
  prices.set("墙面批腻子", "");
  EXPECT_EQ(rowsOf([&](QuoteTable& t) { appendPuttyAndPaint(t, prices, closed); }),
            (std::vector<QuoteItem>{{"1", "顶面批腻子", "M2", "8.96", "13", "116.48"},
                                    {"2", "墙面批腻子", "M2", "35.04", "", "0"},
                                    {"3", "墙顶面乳胶漆", "M2", "44", "10", "440"}}));

  // A window larger than the walls is not clamped.
  const RoomMeasures glassHouse{.length = 1000, .width = 1000, .height = 1000, .windowLength = 10000,
                                .windowHeight = 1000, .doorLeaves = 0, .wallCount = 4};
  EXPECT_EQ(rowsOf([&](QuoteTable& t) { appendPuttyAndPaint(t, defaults(), glassHouse); }),
            (std::vector<QuoteItem>{{"1", "顶面批腻子", "M2", "1", "13", "13"},
                                    {"2", "墙面批腻子", "M2", "-1", "12", "-12"},
                                    {"3", "墙顶面乳胶漆", "M2", "0", "10", "0"}}));
}

TEST(Door, RowsByDoorTypeAndRoomType) {
  auto door = [](std::string type, std::int32_t leaves, std::string roomType) {
    return rowsOf([&](QuoteTable& t) { appendDoor(t, defaults(), type, leaves, roomType); });
  };
  EXPECT_EQ(door("实木门", 1, "客厅"), (std::vector<QuoteItem>{{"1", "实木门", "扇", "1", "1480", "1480"}}));
  EXPECT_EQ(door("推拉门", 2, "厨房"), (std::vector<QuoteItem>{{"1", "推拉门", "扇", "2", "480", "960"},
                                                               {"2", "双包门套", "项", "5", "115", "575"}}));
  EXPECT_EQ(door("塑钢门", 1, "卫生间"), (std::vector<QuoteItem>{{"1", "塑钢门", "扇", "1", "580", "580"},
                                                                 {"2", "单包门套", "项", "5", "65", "325"}}));
  EXPECT_EQ(door("实木门", 1, "卫生间"), (std::vector<QuoteItem>{{"1", "实木门", "扇", "1", "1480", "1480"}}));
  EXPECT_EQ(door("出租房门", 1, "厨房"), (std::vector<QuoteItem>{{"1", "出租房门", "扇", "1", "480", "480"}}));
  EXPECT_EQ(door("移门", 1, "卧室"), (std::vector<QuoteItem>{{"1", "移门", "扇", "1", "360", "360"}}));
  EXPECT_EQ(door("(无)", 2, "客厅"), (std::vector<QuoteItem>{}));
  // A door typed by hand has no price and counts as a light door.
  EXPECT_EQ(door("防盗门", 1, "卫生间"), (std::vector<QuoteItem>{{"1", "防盗门", "扇", "1", "", "0"},
                                                                 {"2", "单包门套", "项", "5", "65", "325"}}));
  // A price key that is not a door is not a door's price.
  EXPECT_EQ(door("单包门套1", 1, "客厅"), (std::vector<QuoteItem>{{"1", "单包门套1", "扇", "1", "", "0"}}));
}

TEST(PuttyAndPaint, ThreeWallsAndOneWall) {
  // A = 26 280 000; N = 25 679 999, stored as the float 25 680 000; P = 34 640 000.
  EXPECT_EQ(rowsOf([](QuoteTable& t) { appendPuttyAndPaint(t, defaults(), livingRoom(3)); }),
            (std::vector<QuoteItem>{{"1", "顶面批腻子", "M2", "8.96", "13", "116.48"},
                                    {"2", "墙面批腻子", "M2", "25.68", "12", "308.16"},
                                    {"3", "墙顶面乳胶漆", "M2", "34.64", "10", "346.4"}}));
  // A = 8 760 000; N = 8 159 999 prints as 8.16; P = 17 119 999, stored as 17 120 000.
  EXPECT_EQ(rowsOf([](QuoteTable& t) { appendPuttyAndPaint(t, defaults(), livingRoom(1)); }),
            (std::vector<QuoteItem>{{"1", "顶面批腻子", "M2", "8.96", "13", "116.48"},
                                    {"2", "墙面批腻子", "M2", "8.16", "12", "97.92"},
                                    {"3", "墙顶面乳胶漆", "M2", "17.12", "10", "171.2"}}));
}

TEST(Door, EveryDoorTypeInEveryFramedRoomType) {
  struct Door {
    std::string type, price, total;
    bool light;  // needs frame boxing in kitchens and bathrooms
  };
  const std::vector<Door> doors{{"出租房门", "480", "960", false}, {"实木免漆门", "580", "1160", false},
                                {"实木门", "1480", "2960", false},  {"原木门", "1880", "3760", false},
                                {"移门", "360", "720", true},        {"推拉门", "480", "960", true},
                                {"彩铝门", "580", "1160", true},     {"折叠门", "600", "1200", true},
                                {"塑钢门", "580", "1160", true}};
  const QuoteItem doubleFrame{"2", "双包门套", "项", "5", "115", "575"};
  const QuoteItem singleFrame{"2", "单包门套", "项", "5", "65", "325"};
  for (const Door& d : doors) {
    const QuoteItem doorRow{"1", d.type, "扇", "2", d.price, d.total};
    auto rowsIn = [&](const std::string& roomType) {
      return rowsOf([&](QuoteTable& t) { appendDoor(t, defaults(), d.type, 2, roomType); });
    };
    using Rows = std::vector<QuoteItem>;
    EXPECT_EQ(rowsIn("厨房"), d.light ? (Rows{doorRow, doubleFrame}) : Rows{doorRow}) << d.type;
    EXPECT_EQ(rowsIn("卫生间"), d.light ? (Rows{doorRow, singleFrame}) : Rows{doorRow}) << d.type;
    for (const std::string roomType : {"卧室", "客厅", "餐厅", "书房", "阳台"}) {
      EXPECT_EQ(rowsIn(roomType), Rows{doorRow}) << d.type << " " << roomType;
    }
  }
}

TEST(Door, FrameLevelsTestedDifferentlyByKind) {
  EXPECT_EQ(rowsOf([](QuoteTable& t) {
              appendDoorFrame(t, defaults(), 1, 5, 1);
              appendDoorFrame(t, defaults(), 1, 5, 2);
              appendDoorFrame(t, defaults(), 2, 5, 1);
              appendDoorFrame(t, defaults(), 2, 5, 2);
              appendDoorFrame(t, defaults(), 3, 5, 1);  // no such kind
            }),
            (std::vector<QuoteItem>{{"1", "单包门套", "项", "5", "65", "325"},
                                    {"2", "单包门套", "项", "5", "85", "425"},
                                    {"3", "双包门套", "项", "5", "115", "575"},
                                    {"4", "双包门套", "项", "5", "75", "375"}}));
}

TEST(Tiling, FloorWallPipesAndWaterproofing) {
  EXPECT_EQ(rowsOf([](QuoteTable& t) {
              appendFloorAndWallTiles(t, defaults(), 2000, 1500);
              appendPipeBoxing(t, defaults(), 2);
              appendWaterproofing(t, defaults(), 2000, 1500);
              appendFloorTiles(t, defaults(), 3200, 2800);
              appendFloorTiles(t, defaults(), 3200, 0);
            }),
            (std::vector<QuoteItem>{{"1", "地砖铺贴", "M2", "3", "35", "105"},
                                    {"2", "墙砖铺贴", "M2", "3", "35", "105"},
                                    {"3", "包水管", "根", "2", "170", "340"},
                                    {"4", "防水工程", "项", "3", "45", "135"},
                                    {"5", "地砖铺贴", "M2", "8.96", "35", "313"},
                                    {"6", "地砖铺贴", "M2", "0", "35", "0"}}));
}

TEST(Tiling, HugeRoomsDoNotOverflowTheAreaProduct) {
  // 100 000 mm squared is past the 32-bit range as an integer product.
  EXPECT_EQ(rowsOf([](QuoteTable& t) { appendFloorTiles(t, defaults(), 100000, 100000); }),
            (std::vector<QuoteItem>{{"1", "地砖铺贴", "M2", "10000", "35", "350000"}}));
}

TEST(Carpentry, LevelsPricesAndQuantities) {
  EXPECT_EQ(rowsOf([](QuoteTable& t) {
              appendCeiling(t, defaults(), 1, 3200, 2800);
              appendTvWall(t, defaults(), 3);
              appendShoeCabinet(t, defaults());
              appendEntrance(t, defaults(), 1);
              appendWineRack(t, defaults(), 2800, 2920);
              appendWardrobe(t, defaults(), 3, 2800, 3000);
              appendBookcase(t, defaults(), 3);
              appendCeiling(t, defaults(), 2, 3200, 2800);
            }),
            (std::vector<QuoteItem>{{"1", "局部吊顶", "M", "6", "115", "690"},
                                    {"2", "电视背景墙", "项", "1", "1200", "1200"},
                                    {"3", "鞋柜制作", "M", "1", "580", "580"},
                                    {"4", "玄关制作", "项", "1", "800", "800"},
                                    {"5", "酒架", "M2", "3.2704", "460", "1504"},
                                    {"6", "衣柜制作", "M2", "8.4", "550", "4620"},
                                    {"7", "书柜制作", "项", "1", "1600", "1600"},
                                    {"8", "艺术吊顶", "M", "6", "135", "810"}}));
}

TEST(Carpentry, EveryLevelTakesItsOwnPrice) {
  ItemPrices prices = ItemPrices::defaults();
  for (int level = 1; level <= 5; ++level) prices.set("电视背景墙" + std::to_string(level), std::to_string(level));
  for (int level = 1; level <= 3; ++level) {
    prices.set("衣柜制作" + std::to_string(level), std::to_string(10 * level));
    prices.set("书柜制作" + std::to_string(level), std::to_string(100 * level));
    prices.set("玄关制作" + std::to_string(level), std::to_string(1000 * level));
  }
  std::string seen;
  const auto rows = rowsOf([&](QuoteTable& t) {
    for (int level = 0; level <= 6; ++level) {
      appendTvWall(t, prices, level);
      appendWardrobe(t, prices, level, 1000, 1000);
      appendBookcase(t, prices, level);
      appendEntrance(t, prices, level);
      appendCeiling(t, prices, level, 1000, 1000);
    }
  });
  for (const auto& row : rows) seen += row.name + ":" + row.unitPrice + ":" + row.total + " ";
  // Outside their levels the works append nothing, except the wardrobe, which appends an unpriced row.
  EXPECT_EQ(seen,
            "衣柜制作::0 "
            "电视背景墙:1:1 衣柜制作:10:10 书柜制作:100:100 玄关制作:1000:1000 局部吊顶:115:230 "
            "电视背景墙:2:2 衣柜制作:20:20 书柜制作:200:200 玄关制作:2000:2000 艺术吊顶:135:270 "
            "电视背景墙:3:3 衣柜制作:30:30 书柜制作:300:300 玄关制作:3000:3000 "
            "电视背景墙:4:4 衣柜制作::0 "
            "电视背景墙:5:5 衣柜制作::0 "
            "衣柜制作::0 ");
}

TEST(Carpentry, ConfiguredPriceTextsAreShownUnchanged) {
  ItemPrices prices = ItemPrices::defaults();
  prices.set("鞋柜制作", "580.5元");
  prices.set("酒架", "");
  EXPECT_EQ(rowsOf([&](QuoteTable& t) {
              appendShoeCabinet(t, prices);
              appendWineRack(t, prices, 2800, 2920);
            }),
            (std::vector<QuoteItem>{{"1", "鞋柜制作", "M", "1", "580.5元", "580"},
                                    {"2", "酒架", "M2", "3.2704", "", "0"}}));
}

}  // namespace
}  // namespace decor
