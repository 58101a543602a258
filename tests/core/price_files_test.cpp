#include <gtest/gtest.h>

#include "net/configuration_loader.h"
#include "pricing/price_defaults.h"
#include "pricing/price_files.h"
#include "recording_url_fetcher.h"
#include "settings_file.h"

namespace decor {
namespace {

using test::settingsFile;

TEST(PriceFiles, EstimateValuesAreReadAsNumbersAndTruncated) {
  const auto prices = parseEstimatePriceFile(
      settingsFile(estimatePriceDefaults(), {{"帖砖费用", "40.9"}, {"防水涂料", "abc"}, {"门槛石", "８０"},
                                             {"乳胶漆费用", "-3.9"}}));
  ASSERT_TRUE(prices);
  EXPECT_EQ(prices->get("帖砖费用"), 40);
  EXPECT_EQ(prices->get("防水涂料"), 0);
  EXPECT_EQ(prices->get("门槛石"), 80);
  EXPECT_EQ(prices->get("乳胶漆费用"), -3);
  EXPECT_EQ(prices->get("豪华型厨房主材"), 12000);
}

TEST(PriceFiles, ItemValuesAreKeptAsText) {
  const auto prices = parseItemPriceFile(
      settingsFile(itemPriceDefaults(), {{"实木门", "1680.5"}, {"碳纤维灯2", "399"}, {"酒架", "约 500 元"}}));
  ASSERT_TRUE(prices);
  EXPECT_EQ(prices->get("实木门"), "1680.5");
  EXPECT_EQ(prices->get("碳纤维灯2"), "399");
  EXPECT_EQ(prices->get("碳纤维灯3"), "");
  EXPECT_EQ(prices->get("酒架"), "约 500 元");
}

TEST(PriceFiles, MissingKeyReadsAsEmptyValue) {
  PriceTable table;
  table.resetToDefaults();
  applyPriceFiles(table, settingsFile(estimatePriceDefaults(), {}, "门槛石"),
                  settingsFile(itemPriceDefaults(), {}, "实木门"));
  EXPECT_EQ(table.estimatePrice("门槛石"), 0);
  EXPECT_EQ(table.itemPrice("实木门"), "");
  EXPECT_EQ(table.estimatePrice("帖砖费用"), 35);
}

TEST(PriceFiles, WithoutTheMarkerTheHalfKeepsItsPrices) {
  PriceTable table;
  table.resetToDefaults();
  std::string lowerCase = settingsFile(estimatePriceDefaults(), {{"帖砖费用", "99"}});
  lowerCase.replace(lowerCase.find("<appSettings>"), 13, "<appsettings>");
  const auto applied = applyPriceFiles(table, lowerCase, "<html>404 Not Found</html>");
  EXPECT_FALSE(applied.estimatePrices);
  EXPECT_FALSE(applied.itemPrices);
  EXPECT_EQ(table.estimatePrice("帖砖费用"), 35);
  EXPECT_EQ(table.itemPrice("实木门"), "1480");
  EXPECT_FALSE(parseEstimatePriceFile(""));
}

TEST(PriceFiles, SharedKeysComeFromTheirOwnFileOnly) {
  PriceTable table;
  table.resetToDefaults();
  applyPriceFiles(table, "", settingsFile(itemPriceDefaults(), {{"包水管", "200"}}));
  EXPECT_EQ(table.itemPrice("包水管"), "200");
  EXPECT_EQ(table.estimatePrice("包水管"), 190);
}

TEST(PriceFiles, TailKeyTakesTheFirstMatchingEntry) {
  // 封阳台 is the tail of 舒适型封阳台, which comes first in the file.
  const auto prices = parseEstimatePriceFile(
      settingsFile(estimatePriceDefaults(), {{"舒适型封阳台", "171"}, {"封阳台", "215"}}));
  ASSERT_TRUE(prices);
  EXPECT_EQ(prices->get("舒适型封阳台"), 171);
  EXPECT_EQ(prices->get("封阳台"), 171);
}

// The search for key + `" value="` ignores the case of ASCII letters: a file written with
// VALUE or Value gives every price, exactly as the lower-case file does.
TEST(PriceFiles, KeySearchIgnoresTheCaseOfAsciiLetters) {
  const auto respell = [](std::string file, const std::string& marker) {
    for (std::size_t at = file.find("\" value=\""); at != std::string::npos; at = file.find("\" value=\"", at))
      file.replace(at, marker.size(), marker);
    return file;
  };
  const std::string items = settingsFile(itemPriceDefaults(), {{"实木门", "1999"}});
  const std::string estimates = settingsFile(estimatePriceDefaults(), {{"帖砖费用", "41"}});
  const auto expectedItems = parseItemPriceFile(items);
  const auto expectedEstimates = parseEstimatePriceFile(estimates);
  ASSERT_TRUE(expectedItems && expectedEstimates);
  ASSERT_EQ(expectedItems->get("实木门"), "1999");
  for (const std::string marker : {"\" VALUE=\"", "\" Value=\"", "\" vALuE=\""}) {
    const auto itemPrices = parseItemPriceFile(respell(items, marker));
    const auto estimatePrices = parseEstimatePriceFile(respell(estimates, marker));
    ASSERT_TRUE(itemPrices && estimatePrices);
    for (const auto& entry : itemPriceDefaults())
      EXPECT_EQ(itemPrices->get(entry.key), expectedItems->get(entry.key)) << marker << entry.key;
    for (const auto& entry : estimatePriceDefaults())
      EXPECT_EQ(estimatePrices->get(entry.key), expectedEstimates->get(entry.key)) << marker << entry.key;
  }
  // Only letters fold: a marker spelt differently otherwise finds nothing.
  EXPECT_EQ(parseItemPriceFile(respell(items, "\" value:\""))->get("实木门"), "");
}

TEST(PriceFiles, TextAfterAZeroByteIsIgnored) {
  std::string file = settingsFile(estimatePriceDefaults(), {{"帖砖费用", "41"}});
  file.insert(file.find("<appSettings>"), 1, '\0');
  EXPECT_FALSE(parseEstimatePriceFile(file));
}

TEST(ConfigurationLoader, FetchesBothFilesFromTheConfigurationServer) {
  const Endpoints endpoints = Endpoints::allAt("http://127.0.0.1:8080");
  RecordingUrlFetcher fetcher;
  fetcher.answer(endpoints.estimatePriceFileUrl(), settingsFile(estimatePriceDefaults(), {{"帖砖费用", "40.9"}}));
  PriceTable table;
  table.resetToDefaults();
  const auto applied = loadConfiguration(fetcher, endpoints, table);
  EXPECT_EQ(fetcher.requested, (std::vector<std::string>{"http://127.0.0.1:8080/bj/AppConfig.xml",
                                                         "http://127.0.0.1:8080/bj/Xiangxi.xml"}));
  EXPECT_TRUE(applied.estimatePrices);
  EXPECT_FALSE(applied.itemPrices);  // unreachable: item prices keep their defaults
  EXPECT_EQ(table.estimatePrice("帖砖费用"), 40);
  EXPECT_EQ(table.itemPrice("实木门"), "1480");
}

TEST(ConfigurationLoader, OfflineKeepsEveryDefault) {
  OfflineUrlFetcher offline;
  PriceTable table;
  table.resetToDefaults();
  loadConfiguration(offline, Endpoints::compiledIn(), table);
  for (const auto& entry : estimatePriceDefaults()) EXPECT_EQ(table.estimatePrice(entry.key), entry.value);
  for (const auto& entry : itemPriceDefaults()) EXPECT_EQ(table.itemPrice(entry.key), entry.value);
}

TEST(Endpoints, PathsOfEveryEndpoint) {
  Endpoints e = Endpoints::allAt("http://127.0.0.1:9");
  e.chatAccount = "12345";
  e.locationPage = "page.aspx";
  EXPECT_EQ(e.counterVisitUrl(), "http://127.0.0.1:9/bjtj/");
  EXPECT_EQ(e.counterUrl(), "http://127.0.0.1:9/bjtj/love.txt");
  EXPECT_EQ(e.estimateSendUrl(), "http://127.0.0.1:9/site/send");
  EXPECT_EQ(e.chatStatusPictureUrl(), "http://127.0.0.1:9/pa?p=2:12345:41");
  EXPECT_EQ(e.chatPageUrl(), "http://127.0.0.1:9/msgrd?v=3&uin=12345&site=qq&menu=yes");
  EXPECT_EQ(e.phoneLookupUrl("1391234"),
            "http://127.0.0.1:9/Locating/page.aspx?m=1391234&output=json&callback=querycallback");
  const Endpoints built = Endpoints::compiledIn();
  EXPECT_FALSE(built.configServer.empty());
  EXPECT_FALSE(built.hotline.empty());
}

}  // namespace
}  // namespace decor
