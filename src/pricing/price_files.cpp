#include "pricing/price_files.h"

#include <string>
#include <vector>

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
  std::string text = cutAtZeroByteAndRoundTripGbk(fileBytes);
  if (text.find(kSettingsMarker) == std::string::npos) return std::nullopt;
  return text;
}

// Every key's value, in the order of `entries`, from a single pass over the text.
template <typename Entries>
std::vector<std::string> valuesOf(const std::string& text, const Entries& entries) {
  std::vector<std::string_view> keys;
  keys.reserve(entries.size());
  for (const auto& entry : entries) keys.push_back(entry.key);
  return textsAfterKeys(text, keys, kValueMarker, '"');
}

}  // namespace

std::optional<EstimatePrices> parseEstimatePriceFile(std::string_view fileBytes) {
  const auto text = settingsText(fileBytes);
  if (!text) return std::nullopt;
  EstimatePrices prices = EstimatePrices::zeros();
  const auto& entries = estimatePriceDefaults();
  const std::vector<std::string> values = valuesOf(*text, entries);
  for (std::size_t i = 0; i < entries.size(); ++i) prices.set(entries[i].key, textToInt32(values[i]));
  return prices;
}

std::optional<ItemPrices> parseItemPriceFile(std::string_view fileBytes) {
  const auto text = settingsText(fileBytes);
  if (!text) return std::nullopt;
  ItemPrices prices = ItemPrices::blanks();
  const auto& entries = itemPriceDefaults();
  std::vector<std::string> values = valuesOf(*text, entries);
  for (std::size_t i = 0; i < entries.size(); ++i) prices.set(entries[i].key, std::move(values[i]));
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
