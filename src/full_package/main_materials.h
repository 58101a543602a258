#pragma once
// The main materials of a full-package quote: after the fee block, per room a blank row and
// the package that the room type calls for at the level the grade gives. Kitchen, bathroom,
// floor covering and balcony enclosure. Package rows carry no 序号 and whole-number totals.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "pricing/price_table.h"
#include "quotation_rows/quote_build.h"
#include "quotation_rows/quote_table.h"

namespace decor {

// Levels 1-3 of the three graded packages.
struct PackageLevels {
  int kitchen = 0;
  int bathroom = 0;
  int floor = 0;

  bool operator==(const PackageLevels&) const = default;
};

// Nothing for a grade that is none of the five.
std::optional<PackageLevels> packageLevels(std::string_view grade);

enum class MainMaterialPackage { None, Kitchen, Bathroom, FloorCovering, BalconyEnclosure };

MainMaterialPackage packageForRoomType(std::string_view roomType);

// How a package row gets its 数量.
enum class PackageQuantity {
  Fixed,      // the text given
  FloorArea,  // L × W / 1 000 000 in double precision
};

// One row of a package. The unit price is either a price-table key or a fixed text.
struct PackageItem {
  std::string_view name;
  std::string_view unit;
  PackageQuantity quantityRule = PackageQuantity::Fixed;
  std::string_view quantity;  // for Fixed
  std::string_view priceKey;  // looked up when not empty
  std::string_view fixedPrice;
};

// The rows of a kitchen or bathroom package at a level (1-3); empty for any other level.
const std::vector<PackageItem>& kitchenItems(int level);
const std::vector<PackageItem>& bathroomItems(int level);

// Each appends at the end of the table. The kitchen and the bathroom start with a heading row.
void appendKitchenPackage(QuoteTable& table, const ItemPrices& prices, std::int32_t length, std::int32_t width,
                          int level);
void appendBathroomPackage(QuoteTable& table, const ItemPrices& prices, std::int32_t length, std::int32_t width,
                           int level);
void appendFloorCovering(QuoteTable& table, const ItemPrices& prices, std::int32_t length, std::int32_t width,
                         int level, FloorChoice floor);
void appendBalconyEnclosure(QuoteTable& table, const ItemPrices& prices, std::int32_t length, std::int32_t width);

// One room of the dispatch: the blank row, then the room's package, if any.
void dispatchMainMaterials(QuoteTable& table, const ItemPrices& prices, const RoomEntry& room, std::string_view grade,
                           FloorChoice floor);

// The whole main-material part of a full-package quote after its fee block, the full-package
// total last.
void appendMainMaterialPart(const QuoteRequest& request, const ItemPrices& prices, QuoteTable& table);

}  // namespace decor
