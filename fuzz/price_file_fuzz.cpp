// The price-file parser on any bytes: a usable file has every key of its half, and applying
// the files changes the table only as far as they are usable.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_check.h"
#include "pricing/price_defaults.h"
#include "pricing/price_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto estimates = decor::parseEstimatePriceFile(bytes);
  const auto items = decor::parseItemPriceFile(bytes);
  FUZZ_CHECK(estimates.has_value() == items.has_value());
  if (items) {
    for (const auto& entry : decor::itemPriceDefaults()) {
      FUZZ_CHECK(items->contains(entry.key));
      FUZZ_CHECK(items->get(entry.key).find('"') == std::string::npos);
    }
    FUZZ_CHECK(estimates->size() == decor::estimatePriceDefaults().size());
  }

  decor::PriceTable table;
  table.resetToDefaults();
  const decor::PriceFilesApplied applied = decor::applyPriceFiles(table, bytes, "");
  FUZZ_CHECK(applied.estimatePrices == estimates.has_value());
  FUZZ_CHECK(!applied.itemPrices);
  FUZZ_CHECK(table.itemPrice("实木门") == "1480");
  return 0;
}
