// The cost lines of the five grades. The grades share most of their lines; what differs is
// written out per grade below: prices, which lines a grade has, how a line prints, and where
// the fees fall. A grade reads in the order its sums are taken: the half package T1, the full
// package F, the living-room split into T2 and T3, then T4.
#include <cmath>

#include "domain/vocabulary.h"
#include "estimate/cost_lines.h"

namespace decor::estimate {
namespace {

// A count or an area figure of the flat.
using Quantity = double Flat::*;

// ---- amounts --------------------------------------------------------------------------------

Amount price(std::string_view key) {
  return [key](const Flat& f) { return f.price(key); };
}

// quantity × price
Amount priced(Quantity quantity, std::string_view key) {
  return [quantity, key](const Flat& f) { return f.*quantity * f.price(key); };
}

// quantity × price × factor
Amount priced(Quantity quantity, std::string_view key, double factor) {
  return [quantity, key, factor](const Flat& f) { return f.*quantity * f.price(key) * factor; };
}

double hallPaint(const Flat& f) { return (f.H + std::sqrt(f.H) * 8.76) * f.price("乳胶漆费用"); }

double bedroomPaint(const Flat& f) { return (f.P + std::sqrt(f.P) * 11.68) * f.price("乳胶漆费用"); }

double waterproofing(const Flat& f) {
  return f.B * f.price("防水涂料") + std::sqrt(f.B) * f.price("防水涂料") * 7.2;
}

// Twice the kitchen count: the bathrooms' pipes are not counted.
double pipeBoxing(const Flat& f) { return (f.kitchens + f.kitchens) * f.price("包水管") * 0.75; }

Amount balconyEnclosure(std::string_view key) {
  return [key](const Flat& f) { return std::sqrt(f.Y) * f.price(key) * 7.5; };
}

// ---- lines ----------------------------------------------------------------------------------

CostLine start(const char* label, Print print, Amount amount, Amount shown = {}) {
  return {Op::Start, When::Always, label, print, std::move(amount), std::move(shown)};
}

CostLine line(const char* label, Print print, Amount amount, When when = When::Always) {
  return {Op::Add, when, label, print, std::move(amount), {}};
}

// A line that shows an amount other than the one it adds.
CostLine lineShowing(const char* label, Print print, Amount amount, Amount shown) {
  return {Op::Add, When::Always, label, print, std::move(amount), std::move(shown)};
}

// The shoe cabinet's line has a half-width colon and no unit.
CostLine shoeCabinet(std::string_view key) {
  return {Op::Add, When::Halls, "鞋柜:", Print::Integer, price(key), {}, "\r\n"};
}

CostLine silent(Amount amount, When when = When::Always) {
  return {Op::Add, when, nullptr, Print::None, std::move(amount), {}};
}

CostLine fees() { return {Op::Fees, When::Always, nullptr, Print::None, {}, {}}; }

CostLines join(CostLines first, const CostLines& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

CostLines firstLines(CostLines lines, std::size_t count) {
  lines.resize(count);
  return lines;
}

// ---- shared parts of the half package -------------------------------------------------------

// Economy lines 1 to 5, which the better grades begin with too. The kitchen and bathroom
// tiling adds 2.92 times what its line shows.
CostLines economyTiling() {
  return {
      start("厨房瓷砖铺贴费用：", Print::Single, priced(&Flat::K, "帖砖费用", 2.92), priced(&Flat::K, "帖砖费用")),
      lineShowing("卫生间瓷砖铺贴费用：", Print::Single, priced(&Flat::B, "帖砖费用", 2.92),
                  priced(&Flat::B, "帖砖费用")),
      line("阳台铺砖：", Print::Single, priced(&Flat::Y, "帖砖费用")),
      line("卫生间防水：", Print::Single, waterproofing),
      line("厨房卫生间包水管：", Print::Single, pipeBoxing),
  };
}

struct FurnishingPrices {
  std::string_view ceiling, featureWall, shoeCabinet, entrance, wardrobe, balconyEnclosure;
};

// Threshold stones to balcony enclosure of the comfort, fine and luxury grades.
CostLines furnishing(const FurnishingPrices& p) {
  return {
      line("算门槛石：", Print::Double, priced(&Flat::N3, "帖砖费用")),
      silent(priced(&Flat::halls, p.ceiling), When::Halls),
      line("客厅乳胶漆：", Print::Single, hallPaint, When::Halls),
      line("电视背景墙：", Print::Integer, price(p.featureWall), When::Halls),
      shoeCabinet(p.shoeCabinet),
      line("玄关制作:", Print::Integer, price(p.entrance), When::Halls),
      line("卧室乳胶漆：", Print::Single, bedroomPaint, When::Bedrooms),
      line("衣柜：", Print::Double, priced(&Flat::bedrooms, p.wardrobe), When::Bedrooms),
      line("封阳台：", Print::Single, balconyEnclosure(p.balconyEnclosure), When::Balconies),
  };
}

// ---- the living and dining room --------------------------------------------------------------

// Tiles there at the tiling price in the half package; a wooden floor there at the grade's
// floor price in the full package.
LivingRoomSplit livingRoomSplit(std::string_view woodenFloorPrice) {
  return {.tiledHalfPackage = priced(&Flat::H, "帖砖费用"), .woodenFloorFullPackage = priced(&Flat::H, woodenFloorPrice)};
}

// ---- the grades -----------------------------------------------------------------------------

GradeList rental() {
  return {
      .grade = kGradeRental,
      .headline = "此面积的房子做为出租房装修价格如下：\r\n\r\n客餐厅铺地板半包装修的价格为：",
      .note = "元\r\n\r\n注：出租房子的半包装修包括：批腻子、乳胶漆、厨房卫生间阳台的瓷砖铺贴，卫生间防水，门套、包水管、门、"
              "人工费用、垃圾清理、材料搬运、设计费以及所有的辅材等。\r\n出租房子的全包装修包括：除去半包之外，还包括灯具、"
              "五金、橱柜、台面、油烟机、灶台、洗菜盆、马桶、淋浴、面盆、瓷砖、地板、踢脚线等。\r\n*水电改造按实际发生量计算！",
      .halfPackage = {
          start("厨房瓷砖铺贴费用：", Print::Single, priced(&Flat::K, "帖砖费用")),
          line("厨房乳胶漆费用：", Print::Single,
               [](const Flat& f) { return std::sqrt(f.K) * f.price("乳胶漆费用") * 11.68; }),
          line("卫生间瓷砖铺贴费用：", Print::Single, priced(&Flat::B, "帖砖费用")),
          line("卫生墙砖铺贴费用：", Print::Single,
               [](const Flat& f) { return std::sqrt(f.B) * f.price("帖砖费用") * 7.2; }),
          // The 4.8 term carries no price.
          line("卫生乳胶漆费用：", Print::Single,
               [](const Flat& f) { return std::sqrt(f.B) * 4.8 + f.B * f.price("乳胶漆费用"); }),
          line("阳台铺砖漆费用：", Print::Single, priced(&Flat::Y, "帖砖费用")),
          line("卫生间防水：", Print::Single, waterproofing),
          line("厨房卫生间包水管：", Print::Single, pipeBoxing),
          line("算客厅乳胶漆：", Print::Single, hallPaint, When::Halls),
          line("算卧室乳胶漆：", Print::Single, bedroomPaint, When::Bedrooms),
          line("算门：", Print::Single, priced(&Flat::N3, "出租房门")),
          fees(),
      },
      .fullPackage = {
          line("卫生间主材：", Print::Double, priced(&Flat::bathrooms, "出租房卫生间主材")),
          line("厨房主材：", Print::Double, priced(&Flat::kitchens, "出租房厨房主材")),
          line("算灯：", Print::Double, priced(&Flat::N4, "出租房灯")),
          line("五金：", Print::Double, priced(&Flat::N4, "出租房五金")),
      },
      .livingRoom = livingRoomSplit("出租房地板"),
      .tiledFullPackage = {
          .livingRoomTiles = priced(&Flat::H, "帖砖费用"),
          .kitchenMainMaterials = priced(&Flat::kitchens, "出租房厨房主材"),
          .bathroomMainMaterials = priced(&Flat::bathrooms, "出租房卫生间主材"),
          .perRoomExtra = priced(&Flat::N4, "出租房五金"),  // hardware
      },
      .tiledFullPackageLines = {
          silent(priced(&Flat::N4, "出租房灯")),
      },
  };
}

GradeList economy() {
  return {
      .grade = kGradeEconomy,
      .headline = "此面积的房子做为经济型装修价格如下：\r\n\r\n客餐厅铺地板半包装修的价格为：",
      .note = "元\r\n\r\n注：经济型装修的半包装修包括：批腻子、乳胶漆、厨房卫生间阳台的墙地铺贴、电视背景墙、鞋柜、卫生间防水，"
              "门套、包水管、门、门槛石、人工费用、垃圾清理、材料搬运、设计费以及所有的辅材等。\r\n经济型装修的全包装修包括："
              "除去半包之外，还包括灯具、五金、橱柜、台面、油烟机、灶台、洗菜盆、马桶、淋浴、面盆、瓷砖、地板、踢脚线等。\r\n"
              "*水电改造按实际发生量计算！",
      .halfPackage = join(economyTiling(),
                          {
                              // Threshold stones at the tiling price here; the full package adds them again.
                              line("算门槛石：", Print::Single, priced(&Flat::N3, "帖砖费用")),
                              line("客厅乳胶漆：", Print::Single, hallPaint, When::Halls),
                              line("电视背景墙：", Print::Integer, price("经济型背景墙"), When::Halls),
                              shoeCabinet("经济型鞋柜"),
                              line("卧室乳胶漆：", Print::Single, bedroomPaint, When::Bedrooms),
                              line("衣柜：", Print::Double, priced(&Flat::bedrooms, "经济型衣柜"), When::Bedrooms),
                              silent(priced(&Flat::N3, "经济型房门")),
                              fees(),
                          }),
      .fullPackage = {
          line("算卫生间主材：", Print::Double, priced(&Flat::bathrooms, "经济弄卫生间主材")),
          line("算厨房主材：", Print::Double, priced(&Flat::kitchens, "经济型厨房主材")),
          line("算灯：", Print::Double, priced(&Flat::N4, "经济型灯具")),
          line("算门槛石：", Print::Double, priced(&Flat::N3, "门槛石")),
          line("五金：", Print::Double, priced(&Flat::N4, "经济型五金")),
      },
      .livingRoom = livingRoomSplit("经济型地板"),
      .tiledFullPackage = {
          .livingRoomTiles = priced(&Flat::H, "经济型瓷砖"),
          .kitchenMainMaterials = priced(&Flat::kitchens, "经济型厨房主材"),
          .bathroomMainMaterials = priced(&Flat::bathrooms, "经济弄卫生间主材"),
          .perRoomExtra = priced(&Flat::N4, "经济型五金"),  // hardware
      },
      .tiledFullPackageLines = {
          silent(priced(&Flat::N3, "门槛石")),
          silent(priced(&Flat::N4, "经济型五金")),  // hardware a second time
          silent(priced(&Flat::N4, "经济型灯具")),
      },
  };
}

GradeList comfort() {
  return {
      .grade = kGradeComfort,
      .headline = "此面积的房子做为舒适型装修价格如下：\r\n\r\n客餐厅铺地板舒适装修的价格为：",
      .note = "元\r\n\r\n注：舒适型装修的半包装修包括：批腻子、乳胶漆、厨房卫生间阳台的墙地铺贴、封阳台、客餐厅石膏板吊顶、"
              "玄关、电视背景墙、衣柜、鞋柜、卫生间防水，门套、包水管、门、门槛石、人工费用、垃圾清理、材料搬运、设计费以及"
              "所有的辅材等。\r\n舒适型装修的全包装修包括：除去半包之外，还包括灯具、五金、橱柜、台面、油烟机、灶台、洗菜盆、"
              "马桶、淋浴、面盆、瓷砖、地板、踢脚线等、衣柜移门。\r\n*水电改造按实际发生量计算！",
      .halfPackage = join(join(economyTiling(), furnishing({"舒适型吊顶", "舒适型背景墙面", "舒适型鞋柜", "舒适型玄关",
                                                            "舒适型衣柜", "舒适型封阳台"})),
                          {
                              silent(priced(&Flat::N3, "经济型房门")),  // the economy door price
                              fees(),
                          }),
      .fullPackage = {
          line("算卫生间主材：", Print::Double, priced(&Flat::bathrooms, "舒适型卫生间主材")),
          line("算厨房主材：", Print::Double, priced(&Flat::kitchens, "舒适型厨房主材")),
          line("算灯：", Print::Double, priced(&Flat::N4, "舒适型灯具")),
          line("算门槛石：", Print::Double, priced(&Flat::N3, "门槛石")),
          line("衣柜移门：", Print::Double, priced(&Flat::bedrooms, "衣柜移门")),
          line("五金：", Print::Double, priced(&Flat::N4, "舒适型五金数")),
      },
      .livingRoom = livingRoomSplit("舒适型地板全包"),
      .tiledFullPackage = {
          .livingRoomTiles = priced(&Flat::H, "经济型地板"),  // tiles at the economy floor price
          .kitchenMainMaterials = priced(&Flat::kitchens, "舒适型厨房主材"),
          .bathroomMainMaterials = priced(&Flat::bathrooms, "舒适型卫生间主材"),
          .perRoomExtra = priced(&Flat::N4, "舒适型五金数"),  // hardware
      },
      .tiledFullPackageLines = {
          silent(priced(&Flat::N3, "门槛石")),
          silent(priced(&Flat::N4, "舒适型灯具")),
          silent(priced(&Flat::N4, "舒适型五金数")),  // hardware a second time
          line(" 衣柜移门：", Print::Double, priced(&Flat::bedrooms, "衣柜移门")),
      },
  };
}

GradeList fine() {
  return {
      .grade = kGradeFine,
      .headline = "此面积的房子做为精装修价格如下：\r\n\r\n客餐厅铺地板舒适装修的价格为：",
      .note = "元\r\n\r\n注：精  装  修的半包装修包括：批腻子、乳胶漆、厨房卫生间阳台的墙地铺贴、封阳台、客餐厅石膏板吊顶、"
              "玄关、电视背景墙、衣柜、鞋柜、卫生间防水，门套、包水管、门、门槛石、人工费用、垃圾清理、材料搬运、设计费以及"
              "所有的辅材等。\r\n精  装  修的全包装修包括：除去半包之外，还包括灯具、五金、橱柜、台面、油烟机、灶台、洗菜盆、"
              "马桶、淋浴、面盆、瓷砖、地板、踢脚线等、衣柜移门。\r\n*水电改造按实际发生量计算！",
      .halfPackage = join(join(economyTiling(), furnishing({"精装修吊顶", "精装修电视背景墙", "精装修鞋柜", "精装修玄关",
                                                            "精装修衣柜", "封阳台"})),
                          {
                              silent(priced(&Flat::N3, "精装修门")),
                              fees(),
                          }),
      .fullPackage = {
          line("算卫生间主材：", Print::Double, priced(&Flat::bathrooms, "精装修卫生间主材")),
          line("算厨房主材：", Print::Double, priced(&Flat::kitchens, "精装修厨房主材")),
          line("衣柜移门：", Print::Double, priced(&Flat::bedrooms, "衣柜移门")),
          line("算灯：", Print::Double, priced(&Flat::N4, "精装修灯具")),
          line("算门槛石：", Print::Double, priced(&Flat::N3, "门槛石")),
          line("五金：", Print::Double, priced(&Flat::N4, "精装修五金")),
      },
      .livingRoom = livingRoomSplit("精装修地板"),
      .tiledFullPackage = {
          .livingRoomTiles = priced(&Flat::H, "精装修瓷砖价格"),
          .kitchenMainMaterials = priced(&Flat::kitchens, "精装修厨房主材"),
          .bathroomMainMaterials = priced(&Flat::bathrooms, "精装修卫生间主材"),
          .perRoomExtra = priced(&Flat::N4, "精装修灯具"),  // lamps
      },
      .tiledFullPackageLines = {
          silent(priced(&Flat::N3, "门槛石")),
          silent(priced(&Flat::N4, "精装修灯具")),  // lamps a second time
          silent(priced(&Flat::N4, "精装修五金")),
          line("衣柜移门：", Print::Double, priced(&Flat::bedrooms, "衣柜移门")),
      },
  };
}

GradeList luxury() {
  return {
      .grade = kGradeLuxury,
      .headline = "此面积的房子做为豪华型装修价格如下：\r\n\r\n客餐厅铺地板舒适装修的价格为：",
      .note = "元\r\n\r\n注：豪华型装修的半包装修包括：批腻子、乳胶漆、厨房卫生间阳台的墙地铺贴、封阳台、客餐厅石膏板艺术吊顶、"
              "玄关、衣柜、鞋柜、卫生间防水，双门套、包水管、门、门槛石、电视背景墙、人工费用、垃圾清理、材料搬运、设计费以及"
              "所有的辅材等。\r\n豪华型装修的全包装修包括：除去半包之外，还包括灯具、五金、橱柜、台面、油烟机、灶台、洗菜盆、"
              "马桶、淋浴、面盆、瓷砖、壁纸、地板、踢脚线等、衣柜移门。\r\n*水电改造按实际发生量计算！",
      .halfPackage = join(join(join(firstLines(economyTiling(), 4),
                                    {
                                        line("厨房卫生间包水管：", Print::Double, pipeBoxing),
                                    }),
                               furnishing({"豪华型吊顶", "豪华型电视背景墙", "豪华型鞋柜", "豪华型玄关", "豪华型衣柜",
                                           "封阳台"})),
                          {
                              fees(),
                              silent(priced(&Flat::N3, "豪华型门")),  // after the fees: the doors carry none
                          }),
      .fullPackage = {
          line("算卫生间主材：", Print::Double, priced(&Flat::bathrooms, "豪华型卫生间主材")),
          line("算厨房主材：", Print::Double, priced(&Flat::kitchens, "豪华型厨房主材")),
          line("衣柜移门：", Print::Double, priced(&Flat::bedrooms, "衣柜移门")),
          line("算灯：", Print::Double, priced(&Flat::N4, "豪华型灯具")),
          line("算门槛石：", Print::Double, priced(&Flat::N3, "门槛石")),
          line("五金：", Print::Double, priced(&Flat::N4, "豪华型五金")),
      },
      .livingRoom = livingRoomSplit("豪华型地板"),
      .tiledFullPackage = {
          .livingRoomTiles = priced(&Flat::H, "豪华型瓷砖"),
          .kitchenMainMaterials = priced(&Flat::kitchens, "豪华型厨房主材"),
          .bathroomMainMaterials = priced(&Flat::bathrooms, "豪华型卫生间主材"),
          .perRoomExtra = priced(&Flat::N4, "豪华型灯具"),  // lamps
      },
      .tiledFullPackageLines = {
          silent(priced(&Flat::N3, "门槛石")),
          silent(priced(&Flat::N4, "豪华型灯具")),  // lamps a second time
          silent(priced(&Flat::N4, "豪华型五金")),
          line("衣柜移门：", Print::Single, priced(&Flat::bedrooms, "衣柜移门")),
      },
  };
}

}  // namespace

const std::vector<GradeList>& gradeLists() {
  static const std::vector<GradeList> lists{rental(), economy(), comfort(), fine(), luxury()};
  return lists;
}

}  // namespace decor::estimate
