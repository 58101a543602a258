#include <gtest/gtest.h>

#include "quotation_rows/item_description.h"
#include "quote_test_support.h"

namespace decor {
namespace {

constexpr std::string_view kIntro = "*注：单击表项出现详情";

TEST(ItemDescription, NamedItemsAndSharedTexts) {
  const std::string putty = "1、环保腻子粉三遍。2、门窗洞口减半计算，固定家具被拦部位按实际面积减除计算。3、原墙顶面的铲除及糙油加8元/平米。";
  const std::string tiling = "1、甲供主材，若乙供主材，另签代购协议。2、含人工费32.5号大厂水泥、黄沙、等辅材。3，被遮部分减半计算。4、条形砖或异形砖（菱形、拼花等）另增加15/平米。5、地砖大于800mm*800mm另加5元/平米。";
  EXPECT_EQ(descriptionLabelAfterClick("顶面批腻子", kIntro), putty);
  EXPECT_EQ(descriptionLabelAfterClick("墙面批腻子", kIntro), putty);
  EXPECT_EQ(descriptionLabelAfterClick("地砖铺贴", kIntro), tiling);
  EXPECT_EQ(descriptionLabelAfterClick("墙砖铺贴", kIntro), tiling);
  EXPECT_EQ(descriptionLabelAfterClick("艺术吊顶", kIntro), "1、木龙骨结构、石膏板饰面  或 壁纸等");
  EXPECT_EQ(descriptionLabelAfterClick("材料搬运费", kIntro), "1、装修材料从楼下搬至楼上人工费。2、三楼以下按2%收取，顶楼复式按4%收取，其它楼层按3%收取。");
  EXPECT_EQ(descriptionLabelAfterClick("包水管", kIntro), "1、红砖封闭，水泥找平。");
}

TEST(ItemDescription, EveryOtherListedName) {
  const std::vector<std::pair<std::string, std::string>> expected{
      {"墙顶面乳胶漆", "1、多乐士家丽胺静味两遍（彩色另计）。2、每增加一色，加入人工调色2元/平米，电脑调色8元/平米。3、门窗洞口减半计算，固定家具被拦部位按实际面积减除计算。"},
      {"鞋柜制作", "1、木工板结构、面板饰面、实木线收边"},
      {"衣柜制作", "1、精裕森E1级高级细杉集成板骨架，饰面板饰面，九厘板做背板。2、柜体深度不大于600mm，竖向立板间距不小于450mm，隔板竖向少于4层，每米含一个抽屉，3、柜体深度超过600mm，每平米加60元。4、不含五金件。"},
      {"玄关制作", "1、木工板结构、石膏板饰面、含玻璃等"},
      {"酒架", "1、裕森木工板骨架，饰面板饰面。2、特殊造型另计。3、不含五金件、珠帘、马赛克、及玻璃。4、柜体深度超过600mm，每平米加60元。"},
      {"局部吊顶", "1、轻钢龙骨结构、石膏板饰面"},
      {"防水工程", "1、华亚弹性防水"},
      {"垃圾清理费用", "1、装修垃圾从楼上搬至物业指垃圾堆放点人工费，不包括外运费。"},
  };
  for (const auto& [name, text] : expected) EXPECT_EQ(descriptionLabelAfterClick(name, kIntro), text) << name;
}

TEST(ItemDescription, DoorsByTheirLastCharacter) {
  for (const std::string door : {"塑钢门", "实木门", "出租房门", "移门", "防盗门", "门"}) {
    EXPECT_EQ(itemDescription(door), std::optional<std::string_view>("成品门")) << door;
  }
  // Only the last character counts, and only as a whole character.
  EXPECT_EQ(itemDescription("门套"), std::nullopt);
  EXPECT_EQ(itemDescription("单包门套"), std::nullopt);
  EXPECT_EQ(itemDescription("门 "), std::nullopt);
}

TEST(ItemDescription, NoMatchKeepsTheLabel) {
  for (const std::string name : {"工程管理费", "工程总造价", "其它的", "客厅", "", "电视背景墙", "顶面批腻子 "}) {
    EXPECT_EQ(itemDescription(name), std::nullopt) << name;
    EXPECT_EQ(descriptionLabelAfterClick(name, "上一次的说明"), "上一次的说明") << name;
  }
}

TEST(ItemDescription, TableOrderLaterMatchReplacesEarlier) {
  // Every entry of the table is reachable: no later entry hides an earlier one for its own name.
  for (const ItemDescription& entry : itemDescriptionTable()) {
    const std::string name = entry.match == ItemDescription::Match::Name ? std::string(entry.text)
                                                                         : "推拉" + std::string(entry.text);
    EXPECT_EQ(itemDescription(name), std::optional<std::string_view>(entry.description)) << name;
  }
  EXPECT_EQ(itemDescriptionTable().size(), 16u);
}

TEST(ItemDescription, RowClickFillsTheDetailPanel) {
  const QuoteItem row{"4", "实木门", "扇", "1", "1480", "1480"};
  EXPECT_EQ(detailPanelFor(row), (DetailPanel{.name = "实木门", .unit = "扇", .quantity = "1", .unitPrice = "1480"}));
  EXPECT_EQ(descriptionLabelAfterClick(detailPanelFor(row).name, kIntro), "成品门");
}

}  // namespace
}  // namespace decor
