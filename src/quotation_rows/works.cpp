#include "quotation_rows/works.h"

#include <algorithm>
#include <array>
#include <string>

#include "domain/vocabulary.h"
#include "text/number_format.h"

namespace decor {
namespace {

constexpr double kSquareMillimetresPerSquareMetre = 1000000.0;
constexpr double kMillimetresPerMetre = 1000.0;

// Products in double precision, so that no millimetre product can overflow.
double floorArea(std::int32_t length, std::int32_t width) {
  return static_cast<double>(length) * static_cast<double>(width) / kSquareMillimetresPerSquareMetre;
}

// Door types that need no frame boxing in kitchens and bathrooms.
constexpr std::array<std::string_view, 4> kFramedDoors{kUnpaintedSolidWoodDoor, kLogDoor, kSolidWoodDoor, kRentalDoor};

template <std::size_t N>
bool isOneOf(std::string_view text, const std::array<std::string_view, N>& names) {
  return std::find(names.begin(), names.end(), text) != names.end();
}

std::string price(const ItemPrices& prices, std::string_view key) { return prices.get(key); }

}  // namespace

void appendPuttyAndPaint(QuoteTable& table, const ItemPrices& prices, const RoomMeasures& room) {
  const double length = room.length;
  const double width = room.width;
  // Square millimetres, each step stored in single precision.
  const float walls = static_cast<float>((length + width) * room.height * room.wallCount * 2 / 4);
  const float openings = static_cast<float>(
      (static_cast<double>(room.doorLeaves) * 2 + static_cast<double>(room.windowLength) * room.windowHeight) / 2);
  const float netWalls = static_cast<float>(static_cast<double>(walls) - openings);
  const float paint = static_cast<float>(static_cast<double>(netWalls) + length * width);

  table.appendItemRow("顶面批腻子", "M2", formatSingle(floorArea(room.length, room.width)), price(prices, "顶面批腻子"),
                      TotalRule::SinglePrecision);
  table.appendItemRow("墙面批腻子", "M2", formatSingle(netWalls / kSquareMillimetresPerSquareMetre),
                      price(prices, "墙面批腻子"), TotalRule::SinglePrecision);
  table.appendItemRow("墙顶面乳胶漆", "M2", formatSingle(paint / kSquareMillimetresPerSquareMetre),
                      price(prices, "墙顶面乳胶漆"), TotalRule::SinglePrecision);
}

void appendDoor(QuoteTable& table, const ItemPrices& prices, std::string_view doorType, std::int32_t leaves,
                std::string_view roomType) {
  if (doorType == kNoDoor) return;
  // Every door the list offers is priced under its own name; a door typed by hand has no price.
  table.appendItemRow(doorType, "扇", formatInteger(leaves),
                      isOneOf(doorType, kDoorTypeChoices) ? price(prices, doorType) : std::string(),
                      TotalRule::WholeNumber);
  if (roomType == kBedroom) return;
  // A door typed by hand counts as a light door.
  if (isOneOf(doorType, kFramedDoors)) return;
  if (roomType == kKitchen) appendDoorFrame(table, prices, 2, 5, 1);
  if (roomType == kBathroom) appendDoorFrame(table, prices, 1, 5, 1);
}

void appendDoorFrame(QuoteTable& table, const ItemPrices& prices, int kind, std::int32_t quantity, int level) {
  // The two kinds test the level differently; kitchens ask for level 1 and so get 双包门套2.
  if (kind == 1) {
    table.appendItemRow("单包门套", "项", formatInteger(quantity),
                        price(prices, level == 1 ? "单包门套1" : "单包门套2"), TotalRule::WholeNumber);
  } else if (kind == 2) {
    table.appendItemRow("双包门套", "项", formatInteger(quantity),
                        price(prices, level == 2 ? "双包门套1" : "双包门套2"), TotalRule::WholeNumber);
  }
}

void appendFloorTiles(QuoteTable& table, const ItemPrices& prices, std::int32_t length, std::int32_t width) {
  table.appendItemRow("地砖铺贴", "M2", formatDouble(floorArea(length, width)), price(prices, "地砖铺贴"),
                      TotalRule::WholeNumber);
}

void appendFloorAndWallTiles(QuoteTable& table, const ItemPrices& prices, std::int32_t length, std::int32_t width) {
  appendFloorTiles(table, prices, length, width);
  // Priced on the floor area, not on a wall area.
  table.appendItemRow("墙砖铺贴", "M2", formatDouble(floorArea(length, width)), price(prices, "墙砖铺贴"),
                      TotalRule::WholeNumber);
}

void appendPipeBoxing(QuoteTable& table, const ItemPrices& prices, std::int32_t count) {
  table.appendItemRow("包水管", "根", formatInteger(count), price(prices, "包水管"), TotalRule::WholeNumber);
}

void appendWaterproofing(QuoteTable& table, const ItemPrices& prices, std::int32_t length, std::int32_t width) {
  table.appendItemRow("防水工程", "项", formatDouble(floorArea(length, width)), price(prices, "防水工程"),
                      TotalRule::WholeNumber);
}

void appendTvWall(QuoteTable& table, const ItemPrices& prices, int level) {
  static constexpr std::array<std::string_view, 5> kKeys{"电视背景墙1", "电视背景墙2", "电视背景墙3", "电视背景墙4",
                                                         "电视背景墙5"};
  if (level < 1 || level > 5) return;
  table.appendItemRow("电视背景墙", "项", "1", price(prices, kKeys[level - 1]), TotalRule::WholeNumber);
}

void appendShoeCabinet(QuoteTable& table, const ItemPrices& prices) {
  table.appendItemRow("鞋柜制作", "M", "1", price(prices, "鞋柜制作"), TotalRule::WholeNumber);
}

void appendWardrobe(QuoteTable& table, const ItemPrices& prices, int level, std::int32_t height, std::int32_t width) {
  static constexpr std::array<std::string_view, 3> kKeys{"衣柜制作1", "衣柜制作2", "衣柜制作3"};
  // The wall along the width, floor to ceiling.
  table.appendItemRow("衣柜制作", "M2", formatDouble(floorArea(height, width)),
                      level >= 1 && level <= 3 ? price(prices, kKeys[level - 1]) : std::string(),
                      TotalRule::WholeNumber);
}

void appendBookcase(QuoteTable& table, const ItemPrices& prices, int level) {
  static constexpr std::array<std::string_view, 3> kKeys{"书柜制作1", "书柜制作2", "书柜制作3"};
  if (level < 1 || level > 3) return;
  table.appendItemRow("书柜制作", "项", "1", price(prices, kKeys[level - 1]), TotalRule::WholeNumber);
}

void appendCeiling(QuoteTable& table, const ItemPrices& prices, int level, std::int32_t length, std::int32_t width) {
  // Half the perimeter, in metres.
  const std::string metres =
      formatDouble((static_cast<double>(length) + static_cast<double>(width)) / kMillimetresPerMetre);
  if (level == 1) table.appendItemRow("局部吊顶", "M", metres, price(prices, "局部吊顶"), TotalRule::WholeNumber);
  if (level == 2) table.appendItemRow("艺术吊顶", "M", metres, price(prices, "艺术吊顶"), TotalRule::WholeNumber);
}

void appendEntrance(QuoteTable& table, const ItemPrices& prices, int level) {
  static constexpr std::array<std::string_view, 3> kKeys{"玄关制作1", "玄关制作2", "玄关制作3"};
  if (level < 1 || level > 3) return;
  table.appendItemRow("玄关制作", "项", "1", price(prices, kKeys[level - 1]), TotalRule::WholeNumber);
}

void appendWineRack(QuoteTable& table, const ItemPrices& prices, std::int32_t width, std::int32_t height) {
  // 0.4 of the wall along the width.
  const double area = static_cast<double>(width) * static_cast<double>(height) * 0.4 / kSquareMillimetresPerSquareMetre;
  table.appendItemRow("酒架", "M2", formatDouble(area), price(prices, "酒架"), TotalRule::WholeNumber);
}

}  // namespace decor
