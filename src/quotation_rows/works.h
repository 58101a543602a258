#pragma once
// The priced works of a room. Each appends its rows to the quotation table through
// appendItemRow; unit prices are the item price texts, shown as configured.
//
// Sizes are whole millimetres; quantities are square metres (mm² ÷ 1 000 000) or metres
// (mm ÷ 1000). Levels select one of several priced variants.
#include <cstdint>
#include <string_view>

#include "pricing/price_table.h"
#include "quotation_rows/quote_table.h"

namespace decor {

// The room as the works read it: the RoomEntry texts read as whole numbers.
struct RoomMeasures {
  std::int32_t length = 0;        // L
  std::int32_t width = 0;         // W
  std::int32_t height = 0;        // H
  std::int32_t windowLength = 0;
  std::int32_t windowHeight = 0;
  std::int32_t doorLeaves = 0;
  std::int32_t wallCount = 0;

  bool operator==(const RoomMeasures&) const = default;
};

// 顶面批腻子, 墙面批腻子, 墙顶面乳胶漆, areas kept in single precision.
void appendPuttyAndPaint(QuoteTable& table, const ItemPrices& prices, const RoomMeasures& room);

// The door row, and for kitchens and bathrooms with a light door the frame row.
void appendDoor(QuoteTable& table, const ItemPrices& prices, std::string_view doorType, std::int32_t leaves,
                std::string_view roomType);

// kind 1: 单包门套 (first price at level 1); kind 2: 双包门套 (first price at level 2).
void appendDoorFrame(QuoteTable& table, const ItemPrices& prices, int kind, std::int32_t quantity, int level);

void appendFloorTiles(QuoteTable& table, const ItemPrices& prices, std::int32_t length, std::int32_t width);
void appendFloorAndWallTiles(QuoteTable& table, const ItemPrices& prices, std::int32_t length, std::int32_t width);
void appendPipeBoxing(QuoteTable& table, const ItemPrices& prices, std::int32_t count);
void appendWaterproofing(QuoteTable& table, const ItemPrices& prices, std::int32_t length, std::int32_t width);

void appendTvWall(QuoteTable& table, const ItemPrices& prices, int level);  // levels 1-5
void appendShoeCabinet(QuoteTable& table, const ItemPrices& prices);
// Any level appends the row; outside 1-3 the unit price is empty.
void appendWardrobe(QuoteTable& table, const ItemPrices& prices, int level, std::int32_t height, std::int32_t width);
void appendBookcase(QuoteTable& table, const ItemPrices& prices, int level);  // levels 1-3
void appendCeiling(QuoteTable& table, const ItemPrices& prices, int level, std::int32_t length,
                   std::int32_t width);                                       // levels 1-2
void appendEntrance(QuoteTable& table, const ItemPrices& prices, int level);  // levels 1-3
void appendWineRack(QuoteTable& table, const ItemPrices& prices, std::int32_t width, std::int32_t height);

}  // namespace decor
