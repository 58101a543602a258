#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "living_room_quote.h"
#include "pricing/price_table.h"
#include "quotation_rows/quote_build.h"
#include "quote_test_support.h"

namespace decor::test {
namespace {

std::vector<QuoteItem> build(const QuoteRequest& request, const ItemPrices& prices = ItemPrices::defaults()) {
  QuoteTable table;
  const QuoteBuildResult result = buildRoomWorksAndFees(request, prices, table);
  EXPECT_TRUE(result.built());
  return table.rows();
}

QuoteRequest request(std::vector<RoomEntry> rooms, std::string grade = "舒适型装修",
                     FloorChoice floor = FloorChoice::WoodenFloor) {
  return QuoteRequest{.rooms = std::move(rooms), .grade = std::move(grade), .scope = PackageScope::Half, .floor = floor};
}

TEST(QuoteBuild, ComfortLivingRoomWholeTable) {
  EXPECT_EQ(build(request({livingRoom()})), livingRoomComfortQuote());
}

TEST(QuoteBuild, TilesInsertFloorTilingAfterTheDoor) {
  EXPECT_EQ(build(request({livingRoom()}, "舒适型装修", FloorChoice::Tiles)),
            concat({header("客厅"),
                    {"1", "顶面批腻子", "M2", "8.96", "13", "116.48"},
                    {"2", "墙面批腻子", "M2", "34.44", "12", "413.28"},
                    {"3", "墙顶面乳胶漆", "M2", "43.4", "10", "434"},
                    {"4", "实木门", "扇", "1", "1480", "1480"},
                    {"5", "地砖铺贴", "M2", "8.96", "35", "313"},
                    {"6", "局部吊顶", "M", "6", "115", "690"},
                    {"7", "电视背景墙", "项", "1", "1200", "1200"},
                    {"8", "鞋柜制作", "M", "1", "580", "580"},
                    blank()},
                   // S = 5226
                   feeBlock("104.52", "52.26", "418.08", "5800")));
}

TEST(QuoteBuild, SecondRoomNumbersFromOneAndUnknownRoomTypesGetAHeaderOnly) {
  const RoomEntry storeRoom{"储藏室", "1000*1000*2800", "0*0", "实木门", "1", "4"};
  const RoomEntry bedroom{"卧室", "3500*3000*2800", "0*0", "(无)", "0", "4"};
  EXPECT_EQ(build(request({livingRoom(), storeRoom, bedroom})),
            concat(concat(livingRoomSection(), {header("储藏室"),
                                               header("卧室"),
                                               {"1", "顶面批腻子", "M2", "10.5", "13", "136.5"},
                                               {"2", "墙面批腻子", "M2", "36.4", "12", "436.8"},
                                               {"3", "墙顶面乳胶漆", "M2", "46.9", "10", "469"},
                                               {"4", "衣柜制作", "M2", "8.4", "450", "3780"},
                                               blank()}),
                   // S = 4913 + 136 + 436 + 469 + 3780 = 9734
                   feeBlock("194.68", "97.34", "778.72", "10803")));
}

TEST(QuoteBuild, NoDoorRowForZeroLeavesOrNoDoor) {
  RoomEntry zeroLeaves = livingRoom();
  zeroLeaves.doorLeaves = "0";
  RoomEntry noDoor = livingRoom();
  noDoor.doorType = "(无)";
  noDoor.doorLeaves = "2";
  noDoor.window = "0*0";
  const std::vector<QuoteItem> rows = build(request({zeroLeaves, noDoor}, "经济型装修"));
  EXPECT_EQ(std::vector<QuoteItem>(rows.begin(), rows.begin() + 14),
            (std::vector<QuoteItem>{header("客厅"),
                                    {"1", "顶面批腻子", "M2", "8.96", "13", "116.48"},
                                    {"2", "墙面批腻子", "M2", "34.44", "12", "413.28"},
                                    {"3", "墙顶面乳胶漆", "M2", "43.4", "10", "434"},
                                    {"4", "电视背景墙", "项", "1", "600", "600"},
                                    {"5", "鞋柜制作", "M", "1", "580", "580"},
                                    blank(),
                                    header("客厅"),
                                    // the 2 leaves still take their 4 mm² off the walls
                                    {"1", "顶面批腻子", "M2", "8.96", "13", "116.48"},
                                    {"2", "墙面批腻子", "M2", "35.04", "12", "420.48"},
                                    {"3", "墙顶面乳胶漆", "M2", "44", "10", "440"},
                                    {"4", "电视背景墙", "项", "1", "600", "600"},
                                    {"5", "鞋柜制作", "M", "1", "580", "580"},
                                    blank()}));
}

TEST(QuoteBuild, KitchenAndBathroomSections) {
  const RoomEntry kitchen{"厨房", "3000*2000*2800", "600*1500", "推拉门", "2", "4"};
  const RoomEntry bathroom{"卫生间", "2000*1500*2800", "300*1500", "塑钢门", "1", "4"};
  EXPECT_EQ(build(request({kitchen}, "经济型装修")),
            concat({header("厨房"),
                    {"1", "推拉门", "扇", "2", "480", "960"},
                    {"2", "双包门套", "项", "5", "115", "575"},
                    {"3", "地砖铺贴", "M2", "6", "35", "210"},
                    {"4", "墙砖铺贴", "M2", "6", "35", "210"},
                    {"5", "包水管", "根", "1", "170", "170"},
                    blank()},
                   feeBlock("42.5", "21.25", "170", "2358")));
  EXPECT_EQ(build(request({bathroom}, "豪华型装修")),
            concat({header("卫生间"),
                    {"1", "塑钢门", "扇", "1", "580", "580"},
                    {"2", "单包门套", "项", "5", "65", "325"},
                    {"3", "地砖铺贴", "M2", "3", "35", "105"},
                    {"4", "墙砖铺贴", "M2", "3", "35", "105"},
                    {"5", "包水管", "根", "2", "170", "340"},
                    {"6", "防水工程", "项", "3", "45", "135"},
                    blank()},
                   feeBlock("31.8", "15.9", "127.2", "1763")));
  // Rental kitchens are painted and get floor tiles only.
  const RoomEntry rentalKitchen{"厨房", "3000*2000*2800", "0*0", "出租房门", "1", "4"};
  EXPECT_EQ(build(request({rentalKitchen}, "出租房装修")),
            concat({header("厨房"),
                    {"1", "顶面批腻子", "M2", "6", "13", "78"},
                    {"2", "墙面批腻子", "M2", "28", "12", "336"},
                    {"3", "墙顶面乳胶漆", "M2", "34", "10", "340"},
                    {"4", "出租房门", "扇", "1", "480", "480"},
                    {"5", "地砖铺贴", "M2", "6", "35", "210"},
                    {"6", "包水管", "根", "1", "170", "170"},
                    blank()},
                   feeBlock("32.28", "16.14", "129.12", "1791")));
}

TEST(QuoteBuild, DiningRoomsByGrade) {
  const RoomEntry dining{"餐厅", "3200*2800*2920", "0*0", "(无)", "0", "4"};
  const std::vector<QuoteItem> paint{header("餐厅"),
                                     {"1", "顶面批腻子", "M2", "8.96", "13", "116.48"},
                                     {"2", "墙面批腻子", "M2", "35.04", "12", "420.48"},
                                     {"3", "墙顶面乳胶漆", "M2", "44", "10", "440"}};
  // The room section, without the fee block.
  auto section = [&](const std::string& grade) {
    const auto rows = build(request({dining}, grade));
    return std::vector<QuoteItem>(rows.begin(), rows.end() - 6);
  };
  EXPECT_EQ(section("舒适型装修"), concat(paint, {{"4", "局部吊顶", "M", "6", "115", "690"},
                                                           {"5", "玄关制作", "项", "1", "800", "800"},
                                                           {"6", "酒架", "M2", "3.2704", "460", "1504"},
                                                           blank()}));
  EXPECT_EQ(section("精  装  修"), concat(paint, {{"4", "艺术吊顶", "M", "6", "135", "810"},
                                                           {"5", "玄关制作", "项", "1", "1200", "1200"},
                                                           {"6", "酒架", "M2", "3.2704", "460", "1504"},
                                                           blank()}));
  EXPECT_EQ(section("豪华型装修"), concat(paint, {{"4", "玄关制作", "项", "1", "1500", "1500"},
                                                           {"5", "酒架", "M2", "3.2704", "460", "1504"},
                                                           blank()}));
  EXPECT_EQ(section("经济型装修"), concat(paint, {blank()}));
}

// The item names each grade gives each room type, for a room with no door and wooden floor,
// restated from the price list of the company's grades.
TEST(QuoteDispatch, EveryGradeAndRoomType) {
  const std::vector<std::string> paint{"顶面批腻子", "墙面批腻子", "墙顶面乳胶漆"};
  auto with = [&](std::vector<std::string> names) {
    names.insert(names.begin(), paint.begin(), paint.end());
    return names;
  };
  using Names = std::vector<std::string>;
  const std::map<std::pair<std::string, std::string>, Names> expected{
      {{"出租房装修", "厨房"}, with({"地砖铺贴", "包水管"})},
      {{"出租房装修", "卫生间"}, with({"地砖铺贴", "包水管", "防水工程"})},
      {{"出租房装修", "客厅"}, with({})},
      {{"出租房装修", "餐厅"}, with({})},
      {{"出租房装修", "卧室"}, with({})},
      {{"出租房装修", "书房"}, with({})},
      {{"出租房装修", "阳台"}, with({"地砖铺贴"})},
      {{"经济型装修", "厨房"}, {"地砖铺贴", "墙砖铺贴", "包水管"}},
      {{"经济型装修", "卫生间"}, {"地砖铺贴", "墙砖铺贴", "包水管", "防水工程"}},
      {{"经济型装修", "客厅"}, with({"电视背景墙", "鞋柜制作"})},
      {{"经济型装修", "餐厅"}, with({})},
      {{"经济型装修", "卧室"}, with({"衣柜制作"})},
      {{"经济型装修", "书房"}, with({"书柜制作"})},
      {{"经济型装修", "阳台"}, {"地砖铺贴"}},
      {{"舒适型装修", "厨房"}, {"地砖铺贴", "墙砖铺贴", "包水管"}},
      {{"舒适型装修", "卫生间"}, {"地砖铺贴", "墙砖铺贴", "包水管", "防水工程"}},
      {{"舒适型装修", "客厅"}, with({"局部吊顶", "电视背景墙", "鞋柜制作"})},
      {{"舒适型装修", "餐厅"}, with({"局部吊顶", "玄关制作", "酒架"})},
      {{"舒适型装修", "卧室"}, with({"衣柜制作"})},
      {{"舒适型装修", "书房"}, with({"书柜制作"})},
      {{"舒适型装修", "阳台"}, {"地砖铺贴"}},
      {{"精  装  修", "厨房"}, {"地砖铺贴", "墙砖铺贴", "包水管"}},
      {{"精  装  修", "卫生间"}, {"地砖铺贴", "墙砖铺贴", "包水管", "防水工程"}},
      {{"精  装  修", "客厅"}, with({"艺术吊顶", "电视背景墙", "鞋柜制作"})},
      {{"精  装  修", "餐厅"}, with({"艺术吊顶", "玄关制作", "酒架"})},
      {{"精  装  修", "卧室"}, with({"衣柜制作"})},
      {{"精  装  修", "书房"}, with({"书柜制作"})},
      {{"精  装  修", "阳台"}, {"地砖铺贴"}},
      {{"豪华型装修", "厨房"}, {"地砖铺贴", "墙砖铺贴", "包水管"}},
      {{"豪华型装修", "卫生间"}, {"地砖铺贴", "墙砖铺贴", "包水管", "防水工程"}},
      {{"豪华型装修", "客厅"}, with({"艺术吊顶", "电视背景墙", "鞋柜制作"})},
      {{"豪华型装修", "餐厅"}, with({"玄关制作", "酒架"})},
      {{"豪华型装修", "卧室"}, with({"衣柜制作"})},
      {{"豪华型装修", "书房"}, with({"书柜制作"})},
      {{"豪华型装修", "阳台"}, {"地砖铺贴"}},
  };
  // The levels show in the prices and counts of these rows.
  const std::map<std::pair<std::string, std::string>, QuoteItem> levelRows{
      {{"经济型装修", "客厅"}, {"4", "电视背景墙", "项", "1", "600", "600"}},
      {{"舒适型装修", "客厅"}, {"5", "电视背景墙", "项", "1", "1200", "1200"}},
      {{"精  装  修", "客厅"}, {"5", "电视背景墙", "项", "1", "1800", "1800"}},
      {{"豪华型装修", "客厅"}, {"5", "电视背景墙", "项", "1", "3000", "3000"}},
      {{"经济型装修", "卧室"}, {"4", "衣柜制作", "M2", "5.6", "450", "2520"}},
      {{"舒适型装修", "卧室"}, {"4", "衣柜制作", "M2", "5.6", "450", "2520"}},
      {{"精  装  修", "卧室"}, {"4", "衣柜制作", "M2", "5.6", "480", "2688"}},
      {{"豪华型装修", "卧室"}, {"4", "衣柜制作", "M2", "5.6", "550", "3080"}},
      {{"经济型装修", "书房"}, {"4", "书柜制作", "项", "1", "600", "600"}},
      {{"舒适型装修", "书房"}, {"4", "书柜制作", "项", "1", "600", "600"}},
      {{"精  装  修", "书房"}, {"4", "书柜制作", "项", "1", "1200", "1200"}},
      {{"豪华型装修", "书房"}, {"4", "书柜制作", "项", "1", "1600", "1600"}},
      {{"出租房装修", "厨房"}, {"5", "包水管", "根", "1", "170", "170"}},
      {{"舒适型装修", "厨房"}, {"3", "包水管", "根", "1", "170", "170"}},
      {{"精  装  修", "厨房"}, {"3", "包水管", "根", "2", "170", "340"}},
      {{"豪华型装修", "卫生间"}, {"3", "包水管", "根", "2", "170", "340"}},
  };
  for (const auto& [key, names] : expected) {
    const auto& [grade, roomType] = key;
    const RoomEntry room{roomType, "3000*2000*2800", "0*0", "(无)", "0", "4"};
    const auto rows = build(request({room}, grade));
    // Between the header and the blank row that ends the section come the work rows.
    ASSERT_GE(rows.size(), 8u);
    ASSERT_EQ(rows[rows.size() - 7], blank()) << grade << " " << roomType;
    Names got;
    for (std::size_t i = 1; i + 7 < rows.size(); ++i) got.push_back(rows[i].name);
    EXPECT_EQ(got, names) << grade << " " << roomType;
    if (const auto it = levelRows.find(key); it != levelRows.end()) {
      const auto row = std::find_if(rows.begin(), rows.end(), [&](const QuoteItem& r) { return r.name == it->second.name; });
      ASSERT_NE(row, rows.end()) << grade << " " << roomType;
      EXPECT_EQ(*row, it->second) << grade << " " << roomType;
    }
  }
}

TEST(QuoteDispatch, FloorChoiceOnlyTouchesLivingAndDiningRooms) {
  for (const std::string roomType : {"客厅", "餐厅", "卧室", "书房"}) {
    const RoomEntry room{roomType, "3000*2000*2800", "0*0", "(无)", "0", "4"};
    const auto wooden = build(request({room}, "出租房装修", FloorChoice::WoodenFloor));
    const auto tiled = build(request({room}, "出租房装修", FloorChoice::Tiles));
    const bool tilesAdded = roomType == "客厅" || roomType == "餐厅";
    ASSERT_EQ(tiled.size(), wooden.size() + (tilesAdded ? 1 : 0)) << roomType;
    if (tilesAdded) {
      EXPECT_EQ(tiled[4], (QuoteItem{"4", "地砖铺贴", "M2", "6", "35", "210"})) << roomType;
    }
  }
}

TEST(QuoteDispatch, UnknownGradeGivesHeadersAndBlankRowsOnly) {
  const RoomEntry kitchen{"厨房", "3000*2000*2800", "600*1500", "推拉门", "2", "4"};
  EXPECT_EQ(build(request({livingRoom(), kitchen}, "精装修")),
            concat({header("客厅"), blank(), header("厨房"), blank()}, feeBlock("0", "0", "0", "0")));
  EXPECT_EQ(roomWorkSteps("精装修", "客厅"), nullptr);
  EXPECT_EQ(roomWorkSteps("舒适型装修", "储藏室"), nullptr);
  EXPECT_FALSE(roomGetsPuttyAndPaint("精装修", "客厅"));
}

TEST(QuoteDispatch, NonNumericPiecesCountAsZero) {
  const RoomEntry room{"客厅", "a*b*c", "x*y", "实木门", "one", "all"};
  EXPECT_EQ(build(request({room})), concat({header("客厅"),
                                            {"1", "顶面批腻子", "M2", "0", "13", "0"},
                                            {"2", "墙面批腻子", "M2", "0", "12", "0"},
                                            {"3", "墙顶面乳胶漆", "M2", "0", "10", "0"},
                                            {"4", "局部吊顶", "M", "0", "115", "0"},
                                            {"5", "电视背景墙", "项", "1", "1200", "1200"},
                                            {"6", "鞋柜制作", "M", "1", "580", "580"},
                                            blank()},
                                           feeBlock("35.6", "17.8", "142.4", "1974")));
  // Leading numbers are read, fractions truncated, full-width digits folded.
  EXPECT_EQ(readRoomMeasures(RoomEntry{"客厅", "3200.9*２８００*2920mm", "800*1500", "实木门", "-1.9", "4面"}),
            (RoomMeasures{.length = 3200, .width = 2800, .height = 2920, .windowLength = 800, .windowHeight = 1500,
                          .doorLeaves = -1, .wallCount = 4}));
}

TEST(QuoteBuildRefusal, UnreadableRowsAreReportedAndNothingIsBuilt) {
  struct Case {
    RoomEntry room;
    RoomFormatProblem problem;
    std::string_view message;
  };
  const std::vector<Case> cases{
      {{"客厅", "3200*2800", "800*1500", "实木门", "1", "4"}, RoomFormatProblem::RoomSize,
       "您输入的房子内容格式不正确\r\n正确格式为   长*宽*高"},
      {{"客厅", "", "800*1500", "实木门", "1", "4"}, RoomFormatProblem::RoomSize,
       "您输入的房子内容格式不正确\r\n正确格式为   长*宽*高"},
      {{"储藏室", "1*2", "800*1500", "实木门", "1", "4"}, RoomFormatProblem::RoomSize,
       "您输入的房子内容格式不正确\r\n正确格式为   长*宽*高"},
      {{"客厅", "3200*2800*2920", "1500", "实木门", "1", "4"}, RoomFormatProblem::WindowSize,
       "您输入的窗子内容格式不正确\r\n正确格式为   长*高"},
      {{"客厅", "3200*2800*2920", "", "实木门", "1", "4"}, RoomFormatProblem::WindowSize,
       "您输入的窗子内容格式不正确\r\n正确格式为   长*高"},
  };
  for (const Case& c : cases) {
    QuoteTable table;
    bool listened = false;
    table.setRowListener([&](std::size_t, const QuoteItem&) { listened = true; });
    const QuoteBuildResult result = buildRoomWorksAndFees(request({livingRoom(), livingRoom(), c.room}), ItemPrices::defaults(), table);
    ASSERT_FALSE(result.built()) << c.room.size << " / " << c.room.window;
    EXPECT_EQ(*result.refused, (UnreadableRoom{.row = 2, .problem = c.problem}));
    EXPECT_EQ(result.refused->message(), c.message);
    EXPECT_TRUE(table.rows().empty());
    EXPECT_FALSE(listened);
    EXPECT_EQ(readRoomMeasures(c.room), std::nullopt);
  }
  // The first unreadable row is the one reported, and the message names it by place and type.
  const std::vector<RoomEntry> rooms{livingRoom(), RoomEntry{"卧室", "3200", "1500", "实木门", "1", "4"},
                                     RoomEntry{"客厅", "3200*2800*2920", "1500", "实木门", "1", "4"}};
  const std::optional<UnreadableRoom> first = findUnreadableRoom(rooms);
  EXPECT_EQ(first, (UnreadableRoom{.row = 1, .problem = RoomFormatProblem::RoomSize}));
  EXPECT_EQ(refusedRoomMessage(rooms, *first), "第2个房间（卧室）：您输入的房子内容格式不正确\r\n正确格式为   长*宽*高");
  EXPECT_EQ(refusedRoomMessage(rooms, UnreadableRoom{.row = 2, .problem = RoomFormatProblem::WindowSize}),
            "第3个房间（客厅）：您输入的窗子内容格式不正确\r\n正确格式为   长*高");
}

// 修改 stores sizes unchecked; pieces past the third size piece and the second window piece
// are not read, so such a room prices like the room it starts with.
TEST(QuoteBuildRefusal, ExtraPiecesAreIgnoredNotRefused) {
  const RoomEntry extraPieces{"客厅", "3200*2800*2920*100", "800*1500*600", "实木门", "1", "4"};
  EXPECT_EQ(findUnreadableRoom({extraPieces}), std::nullopt);
  EXPECT_EQ(readRoomMeasures(extraPieces),
            (RoomMeasures{.length = 3200, .width = 2800, .height = 2920, .windowLength = 800, .windowHeight = 1500,
                          .doorLeaves = 1, .wallCount = 4}));
  EXPECT_EQ(build(request({extraPieces})), livingRoomComfortQuote());
}

TEST(QuoteBuildDelivery, RowsArriveOneByOneAsTheTableGrows) {
  QuoteTable table;
  std::vector<QuoteItem> seen;
  table.setRowListener([&](std::size_t index, const QuoteItem& row) {
    EXPECT_EQ(index, seen.size());
    EXPECT_EQ(index + 1, table.size());  // delivered as soon as it is in the table
    seen.push_back(row);
  });
  ASSERT_TRUE(buildRoomWorksAndFees(request({livingRoom()}), ItemPrices::defaults(), table).built());
  EXPECT_EQ(seen, livingRoomComfortQuote());
}

TEST(QuoteBuildPackage, ScopeAndFloorTexts) {
  EXPECT_EQ(packageScopeFromText("半包"), PackageScope::Half);
  EXPECT_EQ(packageScopeFromText("全包"), PackageScope::Full);
  EXPECT_EQ(packageScopeFromText("半包装修"), std::nullopt);
  EXPECT_EQ(packageScopeText(PackageScope::Full), "全包");
  EXPECT_EQ(quoteCaption(PackageScope::Half), "半包装修详细报价");
  EXPECT_EQ(quoteCaption(PackageScope::Full), "全包装修详细报价");
  EXPECT_EQ(floorChoiceFromText("瓷砖"), FloorChoice::Tiles);
  EXPECT_EQ(floorChoiceFromText("地板"), FloorChoice::WoodenFloor);
  EXPECT_EQ(floorChoiceFromText("铺地板"), std::nullopt);
  EXPECT_EQ(floorText(FloorChoice::Tiles), "瓷砖");
  EXPECT_EQ(decorationGradeIndex("精  装  修"), 3u);
  EXPECT_EQ(decorationGradeIndex("精装修"), std::nullopt);
}

}  // namespace
}  // namespace decor::test
