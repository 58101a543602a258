#include "domain/vocabulary.h"

#include <algorithm>

namespace decor {
namespace {

constexpr std::string_view kHalfPackage = "半包";
constexpr std::string_view kFullPackage = "全包";
constexpr std::string_view kWoodenFloor = "地板";
constexpr std::string_view kTiles = "瓷砖";

}  // namespace

std::optional<std::size_t> decorationGradeIndex(std::string_view grade) {
  const auto it = std::find(kDecorationGrades.begin(), kDecorationGrades.end(), grade);
  if (it == kDecorationGrades.end()) return std::nullopt;
  return static_cast<std::size_t>(it - kDecorationGrades.begin());
}

std::string_view packageScopeText(PackageScope scope) { return scope == PackageScope::Half ? kHalfPackage : kFullPackage; }

std::optional<PackageScope> packageScopeFromText(std::string_view text) {
  if (text == kHalfPackage) return PackageScope::Half;
  if (text == kFullPackage) return PackageScope::Full;
  return std::nullopt;
}

std::string_view quoteCaption(PackageScope scope) {
  return scope == PackageScope::Half ? "半包装修详细报价" : "全包装修详细报价";
}

std::string_view floorText(FloorChoice floor) { return floor == FloorChoice::WoodenFloor ? kWoodenFloor : kTiles; }

std::optional<FloorChoice> floorChoiceFromText(std::string_view text) {
  if (text == kWoodenFloor) return FloorChoice::WoodenFloor;
  if (text == kTiles) return FloorChoice::Tiles;
  return std::nullopt;
}

}  // namespace decor
