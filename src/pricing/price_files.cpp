#include "pricing/price_files.h"

#include <string>

#include "pricing/price_defaults.h"
#include "text/codepage.h"
#include "text/text_between.h"
#include "text/text_to_number.h"

namespace decor {
namespace {

constexpr std::string_view kSettingsMarker = "<appSettings>";
constexpr std::string_view kValueMarker = "\" value=\"";

// The file text as the program keeps it, or nothing when the marker is missing
// (an unreachable file, an error page, a marker in another case).
std::optional<std::string> settingsText(std::string_view fileBytes) {
  std::string text = acceptIncomingUtf8(fileBytes);
  if (text.find(kSettingsMarker) == std::string::npos) return std::nullopt;
  return text;
}

std::string valueOf(const std::string& text, std::string_view key) {
  return textBetween(text, std::string(key) + std::string(kValueMarker), "\"");
}

}  // namespace

std::optional<EstimatePrices> parseEstimatePriceFile(std::string_view fileBytes) {
  const auto text = settingsText(fileBytes);
  if (!text) return std::nullopt;
  EstimatePrices prices = EstimatePrices::zeros();
  for (const auto& entry : estimatePriceDefaults()) prices.set(entry.key, textToInt32(valueOf(*text, entry.key)));
  return prices;
}

std::optional<ItemPrices> parseItemPriceFile(std::string_view fileBytes) {
  const auto text = settingsText(fileBytes);
  if (!text) return std::nullopt;
  ItemPrices prices = ItemPrices::blanks();
  for (const auto& entry : itemPriceDefaults()) prices.set(entry.key, valueOf(*text, entry.key));
  return prices;
}

PriceFilesApplied applyPriceFiles(PriceTable& table, std::string_view estimateFileBytes,
                                  std::string_view itemFileBytes) {
  PriceFilesApplied applied;
  if (auto prices = parseEstimatePriceFile(estimateFileBytes)) {
    table.replaceEstimatePrices(std::move(*prices));
    applied.estimatePrices = true;
  }
  if (auto prices = parseItemPriceFile(itemFileBytes)) {
    table.replaceItemPrices(std::move(*prices));
    applied.itemPrices = true;
  }
  return applied;
}

}  // namespace decor
