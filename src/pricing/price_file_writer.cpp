#include "pricing/price_file_writer.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "pricing/price_defaults.h"

namespace decor {
namespace {

using Entry = std::pair<std::string_view, std::string>;

// Keys that other keys end with go before those keys; otherwise the defaults' own order.
void putTailKeysFirst(std::vector<Entry>& entries) {
  auto longerKeysEndingWith = [&entries](std::string_view key) {
    return std::count_if(entries.begin(), entries.end(), [key](const Entry& other) {
      return other.first.size() > key.size() && other.first.ends_with(key);
    });
  };
  std::vector<std::pair<long, Entry>> ranked;
  for (auto& entry : entries) ranked.emplace_back(longerKeysEndingWith(entry.first), std::move(entry));
  std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  for (std::size_t i = 0; i < entries.size(); ++i) entries[i] = std::move(ranked[i].second);
}

std::string settingsFile(std::vector<Entry> entries) {
  putTailKeysFirst(entries);
  std::string file = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<configuration>\n  <appSettings>\n";
  for (const auto& [key, value] : entries) {
    file += "    <add key=\"";
    file += key;
    file += "\" value=\"";
    file += value;
    file += "\" />\n";
  }
  return file + "  </appSettings>\n</configuration>\n";
}

}  // namespace

std::string estimatePriceFile(const EstimatePrices& prices) {
  std::vector<Entry> entries;
  for (const auto& entry : estimatePriceDefaults()) {
    entries.emplace_back(entry.key, std::to_string(prices.get(entry.key)));
  }
  return settingsFile(std::move(entries));
}

std::string itemPriceFile(const ItemPrices& prices) {
  std::vector<Entry> entries;
  for (const auto& entry : itemPriceDefaults()) entries.emplace_back(entry.key, prices.get(entry.key));
  return settingsFile(std::move(entries));
}

}  // namespace decor
