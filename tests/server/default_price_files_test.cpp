#include <gtest/gtest.h>

#include <string>

#include "pricing/price_defaults.h"
#include "pricing/price_files.h"
#include "server/router/default_price_files.h"

namespace decor::server {
namespace {

std::size_t countOf(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST(DefaultPriceFiles, ReadBackAsExactlyTheDefaults) {
  const auto estimate = parseEstimatePriceFile(defaultEstimatePriceFile());
  ASSERT_TRUE(estimate);
  for (const auto& entry : estimatePriceDefaults()) EXPECT_EQ(estimate->get(entry.key), entry.value) << entry.key;

  const auto items = parseItemPriceFile(defaultItemPriceFile());
  ASSERT_TRUE(items);
  for (const auto& entry : itemPriceDefaults()) EXPECT_EQ(items->get(entry.key), entry.value) << entry.key;
}

TEST(DefaultPriceFiles, HoldOneEntryPerKeyInTheSettingsLayout) {
  const std::string estimate = defaultEstimatePriceFile();
  EXPECT_TRUE(estimate.starts_with("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<configuration>\n  <appSettings>\n"));
  EXPECT_TRUE(estimate.ends_with("  </appSettings>\n</configuration>\n"));
  EXPECT_EQ(countOf(estimate, "<add key=\""), kEstimatePriceCount);
  EXPECT_EQ(countOf(estimate, "\n    <add key=\"经济型厨房主材\" value=\"6000\" />\n"), 1u);
  EXPECT_EQ(countOf(defaultItemPriceFile(), "<add key=\""), kItemPriceCount);
  // Without a value in the defaults the entry is still there, empty.
  EXPECT_EQ(countOf(defaultItemPriceFile(), "\n    <add key=\"碳纤维灯2\" value=\"\" />\n"), 1u);
  // A key comes before the longer keys that end in it.
  EXPECT_LT(estimate.find("<add key=\"封阳台\""), estimate.find("<add key=\"舒适型封阳台\""));
}

}  // namespace
}  // namespace decor::server
