#pragma once
// Reading the two price files, "AppConfig.xml" (estimate prices) and "Xiangxi.xml" (item
// prices), with a plain text search: per key, the text between key + `" value="` and the
// next double quote. A file counts only if it contains "<appSettings>"; then it replaces its
// whole half of the table, and a key it lacks reads as an empty value (0, or an empty text).
#include <optional>
#include <string_view>

#include "pricing/price_table.h"

namespace decor {

inline constexpr std::string_view kEstimatePriceFileName = "AppConfig.xml";
inline constexpr std::string_view kItemPriceFileName = "Xiangxi.xml";

// `fileBytes` are the file as fetched (UTF-8, read up to the first zero byte).
std::optional<EstimatePrices> parseEstimatePriceFile(std::string_view fileBytes);
std::optional<ItemPrices> parseItemPriceFile(std::string_view fileBytes);

// Applies whichever of the two files is usable; the other half keeps its prices.
struct PriceFilesApplied {
  bool estimatePrices = false;
  bool itemPrices = false;
};
PriceFilesApplied applyPriceFiles(PriceTable& table, std::string_view estimateFileBytes,
                                  std::string_view itemFileBytes);

}  // namespace decor
