#include "quotation_rows/item_description.h"

#include "domain/vocabulary.h"

namespace decor {
namespace {

constexpr std::string_view kPuttyDescription =
    "1、环保腻子粉三遍。2、门窗洞口减半计算，固定家具被拦部位按实际面积减除计算。3、原墙顶面的铲除及糙油加8元/平米。";
constexpr std::string_view kTilingDescription =
    "1、甲供主材，若乙供主材，另签代购协议。2、含人工费32.5号大厂水泥、黄沙、等辅材。3，被遮部分减半计算。4、条形砖或异形砖（菱形、拼花等）另增加15/平米。5、地砖大于800mm*800mm另加5元/平米。";

}  // namespace

const std::vector<ItemDescription>& itemDescriptionTable() {
  using Match = ItemDescription::Match;
  // clang-format off
  static const std::vector<ItemDescription> table{
      {Match::Name, "顶面批腻子", kPuttyDescription},
      {Match::Name, "墙面批腻子", kPuttyDescription},
      {Match::Name, "墙顶面乳胶漆", "1、多乐士家丽胺静味两遍（彩色另计）。2、每增加一色，加入人工调色2元/平米，电脑调色8元/平米。3、门窗洞口减半计算，固定家具被拦部位按实际面积减除计算。"},
      {Match::Name, "地砖铺贴", kTilingDescription},
      {Match::Name, "墙砖铺贴", kTilingDescription},
      {Match::Name, "鞋柜制作", "1、木工板结构、面板饰面、实木线收边"},
      {Match::Name, "衣柜制作", "1、精裕森E1级高级细杉集成板骨架，饰面板饰面，九厘板做背板。2、柜体深度不大于600mm，竖向立板间距不小于450mm，隔板竖向少于4层，每米含一个抽屉，3、柜体深度超过600mm，每平米加60元。4、不含五金件。"},
      {Match::Name, "玄关制作", "1、木工板结构、石膏板饰面、含玻璃等"},
      {Match::Name, "酒架", "1、裕森木工板骨架，饰面板饰面。2、特殊造型另计。3、不含五金件、珠帘、马赛克、及玻璃。4、柜体深度超过600mm，每平米加60元。"},
      {Match::Name, "包水管", "1、红砖封闭，水泥找平。"},
      {Match::LastCharacter, "门", "成品门"},
      {Match::Name, "局部吊顶", "1、轻钢龙骨结构、石膏板饰面"},
      {Match::Name, "艺术吊顶", "1、木龙骨结构、石膏板饰面  或 壁纸等"},
      {Match::Name, "防水工程", "1、华亚弹性防水"},
      {Match::Name, kMaterialTransportFee, "1、装修材料从楼下搬至楼上人工费。2、三楼以下按2%收取，顶楼复式按4%收取，其它楼层按3%收取。"},
      {Match::Name, kRubbishRemovalFee, "1、装修垃圾从楼上搬至物业指垃圾堆放点人工费，不包括外运费。"},
  };
  // clang-format on
  return table;
}

std::optional<std::string_view> itemDescription(std::string_view itemName) {
  std::optional<std::string_view> found;
  for (const ItemDescription& entry : itemDescriptionTable()) {
    // A whole UTF-8 character at the end is the last character: no character ends inside another.
    const bool matches = entry.match == ItemDescription::Match::Name ? itemName == entry.text
                                                                     : itemName.ends_with(entry.text);
    if (matches) found = entry.description;
  }
  return found;
}

std::string descriptionLabelAfterClick(std::string_view itemName, std::string_view currentLabel) {
  return std::string(itemDescription(itemName).value_or(currentLabel));
}

DetailPanel detailPanelFor(const QuoteItem& row) {
  return DetailPanel{.name = row.name, .unit = row.unit, .quantity = row.quantity, .unitPrice = row.unitPrice};
}

}  // namespace decor
