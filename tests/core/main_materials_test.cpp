// The main materials of a full-package quote: the levels by grade, the package by room type,
// the kitchen, bathroom, floor and balcony rows with the default prices.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "full_package/main_materials.h"
#include "quotation/quotation_session.h"
#include "quote_test_support.h"

namespace decor::test {
namespace {

QuoteItem row(const std::string& name, const std::string& unit, const std::string& quantity,
              const std::string& price, const std::string& total) {
  return QuoteItem{"", name, unit, quantity, price, total};
}

RoomEntry room(const std::string& type, const std::string& size) {
  return RoomEntry{type, size, "800*1500", "实木门", "1", "4"};
}

std::vector<QuoteItem> dispatched(const RoomEntry& r, const std::string& grade, FloorChoice floor,
                                  const ItemPrices& prices = ItemPrices::defaults()) {
  QuoteTable table;
  dispatchMainMaterials(table, prices, r, grade, floor);
  return table.rows();
}

// The bathroom package: tiles and ceiling over the floor area, then the fittings.
std::vector<QuoteItem> bathroom(const std::string& area, const std::string& tile, const std::string& tileTotal,
                                const std::string& ceilingTotal, const std::string& basin, const std::string& shower,
                                const std::string& lock, const std::string& toilet) {
  return {blank(), header("卫生间"), row("墙面砖", "M2", area, tile, tileTotal), row("地面砖", "M2", area, tile, tileTotal),
          row("铝扣板吊顶", "M2", area, "95", ceilingTotal), row("面盆", "套", "1", basin, basin),
          row("地漏", "个", "2", "25", "50"), row("淋浴", "套", "1", shower, shower), row("锁具", "套", "1", lock, lock),
          row("马桶", "套", "1", toilet, toilet), row("碳纤维灯", "套", "1", "450", "450")};
}

const std::vector<QuoteItem> kKitchenLevel1{
    blank(),
    header("厨房"),
    row("厨柜制作", "M", "3", "520", "1560"),
    row("人造石台面", "M", "3", "150", "450"),
    row("厨柜五金", "项", "1", "350", "350"),
    row("洗菜盆及龙头", "套", "1", "580", "580"),
    row("油烟机", "套", "1", "1200", "1200"),
    row("灶台", "套", "1", "450", "450"),
};

TEST(MainMaterials, LevelsFollowTheGrade) {
  EXPECT_EQ(packageLevels("出租房装修"), (PackageLevels{1, 1, 1}));
  EXPECT_EQ(packageLevels("经济型装修"), (PackageLevels{2, 2, 1}));
  EXPECT_EQ(packageLevels("舒适型装修"), (PackageLevels{2, 2, 2}));
  EXPECT_EQ(packageLevels("精  装  修"), (PackageLevels{3, 3, 3}));
  EXPECT_EQ(packageLevels("豪华型装修"), (PackageLevels{3, 3, 3}));
  EXPECT_EQ(packageLevels("精装修"), std::nullopt);
}

struct DispatchCase {
  std::string label;
  RoomEntry room;
  std::string grade;
  FloorChoice floor;
  std::vector<QuoteItem> expected;
};

TEST(MainMaterials, EachRoomGetsABlankRowAndItsPackage) {
  const std::vector<DispatchCase> cases{
      {"kitchen level 2, area 7.5",
       room("厨房", "3000*2500*2800"),
       "舒适型装修",
       FloorChoice::WoodenFloor,
       {blank(), header("厨房"), row("厨柜制作", "M", "3", "520", "1560"), row("吊柜制作", "M", "3", "320", "960"),
        row("水晶石台面", "M", "3", "260", "780"), row("厨柜五金", "项", "1", "350", "350"),
        row("洗菜盆及龙头", "套", "1", "580", "580"), row("油烟机", "套", "1", "1200", "1200"),
        row("灶台", "套", "1", "450", "450"), row("吸顶灯", "套", "1", "85", "85"),
        row("墙面砖", "M2", "7.5", "28", "210"), row("地面砖", "M2", "7.5", "8", "60"),
        row("燃气热水器", "套", "1", "1750", "1750"), row("铝扣板吊顶", "M2", "7.5", "95", "712")}},
      {"kitchen level 3, fractions of a millimetre cut",
       room("厨房", "3200.9*2800.9*2920"),
       "精  装  修",
       FloorChoice::Tiles,
       {blank(), header("厨房"), row("厨柜制作", "M", "3", "520", "1560"), row("吊柜制作", "M", "3", "320", "960"),
        row("石英石", "M", "3", "480", "1440"), row("厨柜五金", "项", "1", "580", "580"),
        row("洗菜盆及龙头", "套", "1", "680", "680"), row("油烟机", "套", "1", "1500", "1500"),
        row("灶台", "套", "1", "600", "600"), row("吸顶灯", "套", "1", "160", "160"),
        row("墙面砖", "M2", "8.96", "58", "519"), row("地面砖", "M2", "8.96", "28", "250"),
        row("燃气热水器", "套", "1", "1800", "1800"), row("铝扣板吊顶", "M2", "8.96", "95", "851")}},
      {"kitchen level 1 ignores the size", room("厨房", "abc*0*0"), "出租房装修", FloorChoice::WoodenFloor,
       kKitchenLevel1},
      {"bathroom level 1", room("卫生间", "2000*1500*2800"), "出租房装修", FloorChoice::WoodenFloor,
       bathroom("3", "49", "147", "285", "1300", "460", "55", "950")},
      {"bathroom level 2", room("卫生间", "2000*1500*2800"), "经济型装修", FloorChoice::WoodenFloor,
       bathroom("3", "68", "204", "285", "1500", "680", "55", "1050")},
      {"bathroom level 3, area 2.6825", room("卫生间", "1850*1450*2800"), "豪华型装修", FloorChoice::Tiles,
       bathroom("2.6825", "78", "209", "254", "1800", "780", "70", "1250")},
      {"wooden floor level 3", room("客厅", "4000*3500*2800"), "豪华型装修", FloorChoice::WoodenFloor,
       {blank(), row("实木地板", "M2", "14", "260", "3640")}},
      {"wooden floor level 2", room("餐厅", "4000*3500*2800"), "舒适型装修", FloorChoice::WoodenFloor,
       {blank(), row("实木地板", "M2", "14", "160", "2240")}},
      {"economy takes floor level 1", room("客厅", "4000*3500*2800"), "经济型装修", FloorChoice::WoodenFloor,
       {blank(), row("强化地板", "M2", "14", "80", "1120")}},
      {"tiles level 1", room("客厅", "4000*3500*2800"), "经济型装修", FloorChoice::Tiles,
       {blank(), row("瓷砖", "M2", "14", "50", "700")}},
      {"tiles level 2", room("餐厅", "4000*3500*2800"), "舒适型装修", FloorChoice::Tiles,
       {blank(), row("瓷砖", "M2", "14", "120", "1680")}},
      {"tiles level 3", room("客厅", "4000*3500*2800"), "精  装  修", FloorChoice::Tiles,
       {blank(), row("瓷砖", "M2", "14", "180", "2520")}},
      {"balcony", room("阳台", "3300*1500*2800"), "出租房装修", FloorChoice::Tiles,
       {blank(), row("封阳台", "M2", "6.3", "170", "1071")}},
      {"balcony, total truncated", room("阳台", "1333*1000*2800"), "豪华型装修", FloorChoice::WoodenFloor,
       {blank(), row("封阳台", "M2", "3.333", "170", "566")}},
      {"bedroom gets no floor", room("卧室", "4000*3500*2800"), "豪华型装修", FloorChoice::Tiles, {blank()}},
      {"study gets no floor", room("书房", "4000*3500*2800"), "出租房装修", FloorChoice::WoodenFloor, {blank()}},
      {"room type typed by hand", room("储藏室", "4000*3500*2800"), "出租房装修", FloorChoice::WoodenFloor, {blank()}},
      {"unknown grade", room("厨房", "3000*2500*2800"), "精装修", FloorChoice::WoodenFloor, {blank()}},
      {"size not a number", room("客厅", "x*y*z"), "豪华型装修", FloorChoice::WoodenFloor,
       {blank(), row("实木地板", "M2", "0", "260", "0")}},
  };
  for (const DispatchCase& c : cases) {
    EXPECT_EQ(dispatched(c.room, c.grade, c.floor), c.expected) << c.label;
  }
}

TEST(MainMaterials, PricesAreReadFromTheTableExceptTheFixedOnes) {
  ItemPrices prices = ItemPrices::defaults();
  prices.set("厨柜制作1", "600");
  prices.set("厨柜制作3", "999");  // level 3 writes its own texts
  prices.set("墙面砖11", "");       // an empty price counts as 0
  prices.set("实木地板", "1");      // the wooden floor's prices are fixed
  prices.set("封阳台", "200");

  std::vector<QuoteItem> kitchen1 = kKitchenLevel1;
  kitchen1[2] = row("厨柜制作", "M", "3", "600", "1800");
  EXPECT_EQ(dispatched(room("厨房", "1*1*1"), "出租房装修", FloorChoice::Tiles, prices), kitchen1);
  EXPECT_EQ(dispatched(room("厨房", "3000*2500*2800"), "精  装  修", FloorChoice::Tiles, prices)[2],
            row("厨柜制作", "M", "3", "520", "1560"));
  EXPECT_EQ(dispatched(room("卫生间", "2000*1500*2800"), "出租房装修", FloorChoice::Tiles, prices)[2],
            row("墙面砖", "M2", "3", "", "0"));
  EXPECT_EQ(dispatched(room("客厅", "4000*3500*2800"), "豪华型装修", FloorChoice::WoodenFloor, prices)[1],
            row("实木地板", "M2", "14", "260", "3640"));
  EXPECT_EQ(dispatched(room("阳台", "3300*1500*2800"), "豪华型装修", FloorChoice::WoodenFloor, prices)[1],
            row("封阳台", "M2", "6.3", "200", "1260"));
}

TEST(MainMaterials, FullPackageQuoteEndsWithThePackagesAndTheTotal) {
  const QuoteRequest request{.rooms = {RoomEntry{"卧室", "3000*3000*2800", "0*0", "(无)", "0", "4"},
                                       RoomEntry{"阳台", "3300*1500*2800", "0*0", "(无)", "0", "3"}},
                             .grade = "出租房装修",
                             .scope = PackageScope::Full,
                             .floor = FloorChoice::WoodenFloor};
  QuotationSession session(request);
  ASSERT_TRUE(session.build(ItemPrices::defaults()).built());
  const std::vector<QuoteItem>& rows = session.table().rows();
  ASSERT_GE(rows.size(), 6U);
  const std::size_t projectTotal = rows.size() - 6;
  ASSERT_EQ(rows[projectTotal].name, "工程总造价");
  const std::vector<QuoteItem> tail(rows.begin() + static_cast<std::ptrdiff_t>(projectTotal) + 1, rows.end());
  const int expected = std::stoi(rows[projectTotal].total) + 1071;
  EXPECT_EQ(tail, (std::vector<QuoteItem>{blank(), blank(), row("封阳台", "M2", "6.3", "170", "1071"), blank(),
                                          {"", "全包总价格", "", "", "", std::to_string(expected)}}));
}

}  // namespace
}  // namespace decor::test
