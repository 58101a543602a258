#include "pricing/price_table.h"

#include <mutex>

#include "pricing/price_defaults.h"

namespace decor {

std::int32_t EstimatePrices::get(std::string_view key) const {
  const auto it = values_.find(key);
  return it == values_.end() ? 0 : it->second;
}

void EstimatePrices::set(std::string_view key, std::int32_t value) {
  const auto it = values_.find(key);
  if (it != values_.end()) it->second = value;
}

EstimatePrices EstimatePrices::defaults() {
  EstimatePrices prices;
  for (const auto& entry : estimatePriceDefaults()) prices.values_.emplace(entry.key, entry.value);
  return prices;
}

const std::string& ItemPrices::get(std::string_view key) const {
  static const std::string missing;
  const auto it = values_.find(key);
  return it == values_.end() ? missing : it->second;
}

void ItemPrices::set(std::string_view key, std::string value) {
  const auto it = values_.find(key);
  if (it != values_.end()) it->second = std::move(value);
}

EstimatePrices EstimatePrices::zeros() {
  EstimatePrices prices;
  for (const auto& entry : estimatePriceDefaults()) prices.values_.emplace(entry.key, 0);
  return prices;
}

ItemPrices ItemPrices::blanks() {
  ItemPrices prices;
  for (const auto& entry : itemPriceDefaults()) prices.values_.emplace(entry.key, std::string());
  return prices;
}

ItemPrices ItemPrices::defaults() {
  ItemPrices prices;
  for (const auto& entry : itemPriceDefaults()) prices.values_.emplace(entry.key, entry.value);
  return prices;
}

void PriceTable::resetToDefaults() {
  EstimatePrices estimate = EstimatePrices::defaults();
  ItemPrices items = ItemPrices::defaults();
  std::unique_lock lock(mutex_);
  estimate_ = std::move(estimate);
  items_ = std::move(items);
}

std::int32_t PriceTable::estimatePrice(std::string_view key) const {
  std::shared_lock lock(mutex_);
  return estimate_.get(key);
}

std::string PriceTable::itemPrice(std::string_view key) const {
  std::shared_lock lock(mutex_);
  return items_.get(key);
}

void PriceTable::setEstimatePrice(std::string_view key, std::int32_t value) {
  std::unique_lock lock(mutex_);
  estimate_.set(key, value);
}

void PriceTable::setItemPrice(std::string_view key, std::string value) {
  std::unique_lock lock(mutex_);
  items_.set(key, std::move(value));
}

EstimatePrices PriceTable::estimatePrices() const {
  std::shared_lock lock(mutex_);
  return estimate_;
}

ItemPrices PriceTable::itemPrices() const {
  std::shared_lock lock(mutex_);
  return items_;
}

void PriceTable::replaceEstimatePrices(EstimatePrices prices) {
  std::unique_lock lock(mutex_);
  estimate_ = std::move(prices);
}

void PriceTable::replaceItemPrices(ItemPrices prices) {
  std::unique_lock lock(mutex_);
  items_ = std::move(prices);
}

}  // namespace decor
