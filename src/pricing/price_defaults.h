#pragma once
// The built-in unit prices: every key the two price files may set, with its default.
// The lists are in file order and are what the price-file loader walks.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace decor {

struct EstimatePriceDefault {
  std::string_view key;
  std::int32_t value;
};

struct ItemPriceDefault {
  std::string_view key;
  std::string_view value;  // 碳纤维灯2 and 碳纤维灯3 have none: empty
};

inline constexpr std::size_t kEstimatePriceCount = 58;
inline constexpr std::size_t kItemPriceCount = 115;

std::span<const EstimatePriceDefault> estimatePriceDefaults();
std::span<const ItemPriceDefault> itemPriceDefaults();

}  // namespace decor
