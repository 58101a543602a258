#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "pricing/price_defaults.h"
#include "pricing/price_file_writer.h"
#include "pricing/price_files.h"

namespace decor {
namespace {

void expectReadBack(const EstimatePrices& written, const ItemPrices& writtenItems) {
  const auto estimate = parseEstimatePriceFile(estimatePriceFile(written));
  ASSERT_TRUE(estimate);
  for (const auto& entry : estimatePriceDefaults()) EXPECT_EQ(estimate->get(entry.key), written.get(entry.key)) << entry.key;
  const auto items = parseItemPriceFile(itemPriceFile(writtenItems));
  ASSERT_TRUE(items);
  for (const auto& entry : itemPriceDefaults()) EXPECT_EQ(items->get(entry.key), writtenItems.get(entry.key)) << entry.key;
}

TEST(PriceFileWriter, TheDefaultsReadBackAsTheDefaults) {
  expectReadBack(EstimatePrices::defaults(), ItemPrices::defaults());
}

// Every key a value of its own, so that a key read from another key's entry (a tail key
// written after the longer key that ends in it, as 封阳台 and 舒适型封阳台) shows.
TEST(PriceFileWriter, ChangedPricesReadBackAsWritten) {
  EstimatePrices estimate = EstimatePrices::defaults();
  std::int32_t value = -7;
  for (const auto& entry : estimatePriceDefaults()) estimate.set(entry.key, value += 1013);
  estimate.set("帖砖费用", std::numeric_limits<std::int32_t>::min());
  estimate.set("门槛石", std::numeric_limits<std::int32_t>::max());
  estimate.set("防水涂料", 0);

  ItemPrices items = ItemPrices::defaults();
  int n = 0;
  for (const auto& entry : itemPriceDefaults()) items.set(entry.key, std::to_string(++n) + ".5");
  items.set("实木门", "");
  items.set("酒架", "约 500 元 <含安装> & 运费");
  items.set("碳纤维灯2", "  1680 ");
  expectReadBack(estimate, items);

  // The layout staff find when they open a file to edit it.
  const std::string file = itemPriceFile(items);
  EXPECT_TRUE(file.starts_with("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<configuration>\n  <appSettings>\n"));
  EXPECT_NE(file.find("\n    <add key=\"实木门\" value=\"\" />\n"), std::string::npos);
  EXPECT_TRUE(file.ends_with("\" />\n  </appSettings>\n</configuration>\n"));
}

}  // namespace
}  // namespace decor
