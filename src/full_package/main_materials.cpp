#include "full_package/main_materials.h"

#include <array>
#include <string>

#include "domain/vocabulary.h"
#include "quotation_rows/quote_totals.h"
#include "text/number_format.h"
#include "text/star_split.h"
#include "text/text_to_number.h"

namespace decor {
namespace {

constexpr PackageItem fixed(std::string_view name, std::string_view unit, std::string_view quantity,
                            std::string_view key, std::string_view price = {}) {
  return {name, unit, PackageQuantity::Fixed, quantity, key, price};
}

constexpr PackageItem area(std::string_view name, std::string_view key, std::string_view price = {}) {
  return {name, "M2", PackageQuantity::FloorArea, {}, key, price};
}

// Level 3 writes fixed price texts: the kitchen keys ending in 3 are not consulted.
const std::array<std::vector<PackageItem>, 3> kKitchenLevels{{
    {
        fixed("厨柜制作", "M", "3", "厨柜制作1"),
        fixed("人造石台面", "M", "3", "人造石台面1"),
        fixed("厨柜五金", "项", "1", "厨柜五金1"),
        fixed("洗菜盆及龙头", "套", "1", "洗菜盆及龙头1"),
        fixed("油烟机", "套", "1", "油烟机1"),
        fixed("灶台", "套", "1", "灶台1"),
    },
    {
        fixed("厨柜制作", "M", "3", "厨柜制作2"),
        fixed("吊柜制作", "M", "3", "吊柜制作2"),
        fixed("水晶石台面", "M", "3", "水晶石台面2"),
        fixed("厨柜五金", "项", "1", "厨柜五金2"),
        fixed("洗菜盆及龙头", "套", "1", "洗菜盆及龙头2"),
        fixed("油烟机", "套", "1", "油烟机2"),
        fixed("灶台", "套", "1", "灶台2"),
        fixed("吸顶灯", "套", "1", "吸顶灯2"),
        area("墙面砖", "墙面砖2"),  // the floor area, not a wall area
        area("地面砖", "地面砖2"),
        fixed("燃气热水器", "套", "1", "燃气热水器2"),
        area("铝扣板吊顶", "铝扣板吊顶2"),
    },
    {
        fixed("厨柜制作", "M", "3", {}, "520"),
        fixed("吊柜制作", "M", "3", {}, "320"),
        fixed("石英石", "M", "3", {}, "480"),
        fixed("厨柜五金", "项", "1", {}, "580"),
        fixed("洗菜盆及龙头", "套", "1", {}, "680"),
        fixed("油烟机", "套", "1", {}, "1500"),
        fixed("灶台", "套", "1", {}, "600"),
        fixed("吸顶灯", "套", "1", {}, "160"),
        area("墙面砖", {}, "58"),
        area("地面砖", {}, "28"),
        fixed("燃气热水器", "套", "1", {}, "1800"),
        area("铝扣板吊顶", {}, "95"),
    },
}};

// The bathroom's nine items are the same at every level; the price key is the name followed
// by the level's suffix.
constexpr std::array<PackageItem, 9> kBathroomItems{{
    area("墙面砖", {}),
    area("地面砖", {}),
    area("铝扣板吊顶", {}),
    fixed("面盆", "套", "1", {}),
    fixed("地漏", "个", "2", {}),
    fixed("淋浴", "套", "1", {}),
    fixed("锁具", "套", "1", {}),
    fixed("马桶", "套", "1", {}),
    fixed("碳纤维灯", "套", "1", {}),
}};
constexpr std::array<std::string_view, 3> kBathroomKeySuffixes{"11", "22", "33"};

const std::array<std::vector<PackageItem>, 3>& bathroomLevels() {
  // The keys live here so that the items can point at them.
  static const auto keys = [] {
    std::array<std::array<std::string, kBathroomItems.size()>, 3> built;
    for (std::size_t level = 0; level < built.size(); ++level) {
      for (std::size_t i = 0; i < kBathroomItems.size(); ++i) {
        built[level][i] = std::string(kBathroomItems[i].name) + std::string(kBathroomKeySuffixes[level]);
      }
    }
    return built;
  }();
  static const auto levels = [] {
    std::array<std::vector<PackageItem>, 3> built;
    for (std::size_t level = 0; level < built.size(); ++level) {
      for (std::size_t i = 0; i < kBathroomItems.size(); ++i) {
        PackageItem item = kBathroomItems[i];
        item.priceKey = keys[level][i];
        built[level].push_back(item);
      }
    }
    return built;
  }();
  return levels;
}

// The wooden floor's prices are fixed texts; the tiles take 瓷砖1-3 from the table.
const std::array<PackageItem, 3> kWoodenFloors{{
    area("强化地板", {}, "80"),
    area("实木地板", {}, "160"),
    area("实木地板", {}, "260"),
}};
const std::array<PackageItem, 3> kTileFloors{{
    area("瓷砖", "瓷砖1"),
    area("瓷砖", "瓷砖2"),
    area("瓷砖", "瓷砖3"),
}};

// Columns: kitchen, bathroom, floor; in the order of kDecorationGrades.
constexpr std::array<PackageLevels, 5> kLevelsByGrade{{{1, 1, 1}, {2, 2, 1}, {2, 2, 2}, {3, 3, 3}, {3, 3, 3}}};

struct RoomPackage {
  std::string_view roomType;
  MainMaterialPackage package;
};

// Bedrooms and studies get nothing, not even a floor.
constexpr std::array<RoomPackage, 5> kPackageByRoomType{{
    {kKitchen, MainMaterialPackage::Kitchen},
    {kBathroom, MainMaterialPackage::Bathroom},
    {kLivingRoom, MainMaterialPackage::FloorCovering},
    {kDiningRoom, MainMaterialPackage::FloorCovering},
    {kBalcony, MainMaterialPackage::BalconyEnclosure},
}};

std::string floorArea(std::int32_t length, std::int32_t width) {
  return formatDouble(static_cast<double>(length) * static_cast<double>(width) / 1000000.0);
}

void appendPackageRow(QuoteTable& table, std::string_view name, std::string_view unit, std::string quantity,
                      std::string unitPrice) {
  QuoteItem row;
  row.name = name;
  row.unit = unit;
  row.total = itemTotal(quantity, unitPrice, TotalRule::WholeNumber);
  row.quantity = std::move(quantity);
  row.unitPrice = std::move(unitPrice);
  table.appendRow(std::move(row));
}

void appendItem(QuoteTable& table, const ItemPrices& prices, const PackageItem& item, std::int32_t length,
                std::int32_t width) {
  std::string quantity =
      item.quantityRule == PackageQuantity::FloorArea ? floorArea(length, width) : std::string(item.quantity);
  std::string price = item.priceKey.empty() ? std::string(item.fixedPrice) : prices.get(item.priceKey);
  appendPackageRow(table, item.name, item.unit, std::move(quantity), std::move(price));
}

void appendHeadedPackage(QuoteTable& table, const ItemPrices& prices, std::string_view heading,
                         const std::vector<PackageItem>& items, std::int32_t length, std::int32_t width) {
  table.appendHeading(heading);
  for (const PackageItem& item : items) appendItem(table, prices, item, length, width);
}

bool validLevel(int level) { return level >= 1 && level <= 3; }

}  // namespace

std::optional<PackageLevels> packageLevels(std::string_view grade) {
  const auto index = decorationGradeIndex(grade);
  if (!index) return std::nullopt;
  return kLevelsByGrade[*index];
}

MainMaterialPackage packageForRoomType(std::string_view roomType) {
  for (const RoomPackage& entry : kPackageByRoomType) {
    if (entry.roomType == roomType) return entry.package;
  }
  return MainMaterialPackage::None;
}

const std::vector<PackageItem>& kitchenItems(int level) {
  static const std::vector<PackageItem> none;
  return validLevel(level) ? kKitchenLevels[static_cast<std::size_t>(level - 1)] : none;
}

const std::vector<PackageItem>& bathroomItems(int level) {
  static const std::vector<PackageItem> none;
  return validLevel(level) ? bathroomLevels()[static_cast<std::size_t>(level - 1)] : none;
}

void appendKitchenPackage(QuoteTable& table, const ItemPrices& prices, std::int32_t length, std::int32_t width,
                          int level) {
  appendHeadedPackage(table, prices, kKitchen, kitchenItems(level), length, width);
}

void appendBathroomPackage(QuoteTable& table, const ItemPrices& prices, std::int32_t length, std::int32_t width,
                           int level) {
  appendHeadedPackage(table, prices, kBathroom, bathroomItems(level), length, width);
}

void appendFloorCovering(QuoteTable& table, const ItemPrices& prices, std::int32_t length, std::int32_t width,
                         int level, FloorChoice floor) {
  if (!validLevel(level)) return;
  const auto& floors = floor == FloorChoice::WoodenFloor ? kWoodenFloors : kTileFloors;
  appendItem(table, prices, floors[static_cast<std::size_t>(level - 1)], length, width);
}

void appendBalconyEnclosure(QuoteTable& table, const ItemPrices& prices, std::int32_t length, std::int32_t width) {
  // The three open sides, one length and two widths, in metres; the unit still reads M2.
  const double sides = (static_cast<double>(length) + width + width) / 1000.0;
  appendPackageRow(table, "封阳台", "M2", formatDouble(sides), prices.get("封阳台"));
}

void dispatchMainMaterials(QuoteTable& table, const ItemPrices& prices, const RoomEntry& room, std::string_view grade,
                           FloorChoice floor) {
  table.appendBlankRow();
  const std::optional<PackageLevels> levels = packageLevels(grade);
  if (!levels) return;
  // Fractions of a millimetre are cut before any area is formed; a missing piece reads 0.
  const std::vector<std::string> size = splitOnStar(room.size);
  const std::int32_t length = size.empty() ? 0 : textToInt32(size[0]);
  const std::int32_t width = size.size() < 2 ? 0 : textToInt32(size[1]);
  switch (packageForRoomType(room.roomType)) {
    case MainMaterialPackage::None: break;
    case MainMaterialPackage::Kitchen: appendKitchenPackage(table, prices, length, width, levels->kitchen); break;
    case MainMaterialPackage::Bathroom: appendBathroomPackage(table, prices, length, width, levels->bathroom); break;
    case MainMaterialPackage::FloorCovering:
      appendFloorCovering(table, prices, length, width, levels->floor, floor);
      break;
    case MainMaterialPackage::BalconyEnclosure: appendBalconyEnclosure(table, prices, length, width); break;
  }
}

void appendMainMaterialPart(const QuoteRequest& request, const ItemPrices& prices, QuoteTable& table) {
  for (const RoomEntry& room : request.rooms) dispatchMainMaterials(table, prices, room, request.grade, request.floor);
  appendFullPackageTotal(table);
}

}  // namespace decor
