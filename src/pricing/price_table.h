#pragma once
// The unit prices of both estimators, under their configuration keys.
//
// Two halves: EstimatePrices (whole yuan, for the quick estimate) and ItemPrices (texts, for
// the detailed quote, shown as they stand). The three keys 包水管, 出租房门 and 封阳台 exist
// in both halves as independent prices.
//
// The table is read by the windows while the start-up worker replaces values: every read
// and every write is atomic with respect to the others, and readers get copies.
#include <cstdint>
#include <map>
#include <shared_mutex>
#include <string>
#include <string_view>

namespace decor {

// A consistent copy of one half. Keys are the program's own constants, never input (the price
// files are read by walking the known keys), so a key outside the half can only be a misspelt
// constant. It reads as a missing price, 0 or an empty text, which the quotation shows as an
// empty 单价 with a total of 0, and setting it changes nothing: the tests that compare every
// work's rows with the default prices catch the misspelling, and a running program never
// stops over it.
class EstimatePrices {
 public:
  std::int32_t get(std::string_view key) const;
  void set(std::string_view key, std::int32_t value);
  bool contains(std::string_view key) const { return values_.find(key) != values_.end(); }
  std::size_t size() const { return values_.size(); }
  static EstimatePrices defaults();
  static EstimatePrices zeros();  // every key, value 0

 private:
  std::map<std::string, std::int32_t, std::less<>> values_;
};

class ItemPrices {
 public:
  const std::string& get(std::string_view key) const;
  void set(std::string_view key, std::string value);
  bool contains(std::string_view key) const { return values_.find(key) != values_.end(); }
  std::size_t size() const { return values_.size(); }
  static ItemPrices defaults();
  static ItemPrices blanks();  // every key, empty text

 private:
  std::map<std::string, std::string, std::less<>> values_;
};

class PriceTable {
 public:
  // Every price reads 0 or empty until resetToDefaults(), which the program calls when the
  // main window is created.
  PriceTable() = default;
  PriceTable(const PriceTable&) = delete;
  PriceTable& operator=(const PriceTable&) = delete;

  void resetToDefaults();

  std::int32_t estimatePrice(std::string_view key) const;
  std::string itemPrice(std::string_view key) const;
  void setEstimatePrice(std::string_view key, std::int32_t value);
  void setItemPrice(std::string_view key, std::string value);

  // Copies of a whole half, for a computation that must see one consistent set.
  EstimatePrices estimatePrices() const;
  ItemPrices itemPrices() const;

  // Replace a whole half in one step (a price file is applied completely or not at all).
  void replaceEstimatePrices(EstimatePrices prices);
  void replaceItemPrices(ItemPrices prices);

 private:
  mutable std::shared_mutex mutex_;
  EstimatePrices estimate_ = EstimatePrices::zeros();
  ItemPrices items_ = ItemPrices::blanks();
};

}  // namespace decor
