#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "local_http_server.h"
#include "net/http_url_fetcher.h"
#include "net/configuration_loader.h"
#include "pricing/price_defaults.h"
#include "settings_file.h"

namespace decor {
namespace {

using namespace std::chrono_literals;
using test::LocalHttpServer;
using test::okReply;
using test::settingsFile;

constexpr FetchLimits kShortLimits{.connect = 300ms, .stall = 300ms};

std::string withLowerCaseMarker(std::string file) {
  file.replace(file.find("<appSettings>"), 13, "<appsettings>");
  return file;
}

// The file's head promises more than is sent; the connection closes after `keptBytes`.
std::string brokenOffReply(const std::string& file, std::size_t keptBytes) {
  return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(file.size()) + "\r\nConnection: close\r\n\r\n" +
         file.substr(0, keptBytes);
}

// Every one of the 173 prices: its default unless the case names another value.
void expectWholeTable(const PriceTable& table, const std::map<std::string, std::int32_t>& estimate,
                      const std::map<std::string, std::string>& items, const std::string& name) {
  for (const auto& entry : estimatePriceDefaults()) {
    const auto it = estimate.find(std::string(entry.key));
    EXPECT_EQ(table.estimatePrice(entry.key), it == estimate.end() ? entry.value : it->second)
        << name << ": " << entry.key;
  }
  for (const auto& entry : itemPriceDefaults()) {
    const auto it = items.find(std::string(entry.key));
    EXPECT_EQ(table.itemPrice(entry.key), it == items.end() ? std::string(entry.value) : it->second)
        << name << ": " << entry.key;
  }
}

TEST(ConfigurationOverHttp, AppliesWhatTheServerServesAndKeepsDefaultsOtherwise) {
  const std::string notFound = "HTTP/1.1 404 Not Found\r\nContent-Length: 22\r\n\r\n<html>Not Found</html>";
  const std::string validItems = settingsFile(itemPriceDefaults(), {{"实木门", "1680.5"}});
  const std::string validEstimate = settingsFile(estimatePriceDefaults(), {{"帖砖费用", "40.9"}});
  struct Case {
    std::string name;
    std::string estimateReply;  // raw replies to the two GETs
    std::string itemReply;
    std::map<std::string, std::int32_t> estimate;  // prices that differ from the defaults
    std::map<std::string, std::string> items;
  };
  // Whenever an estimate file counts, 封阳台 reads the entry of 舒适型封阳台 (170), which
  // comes first and ends in the same key.
  const std::vector<Case> cases = {
      {"both files valid", okReply(validEstimate), okReply(validItems), {{"帖砖费用", 40}, {"封阳台", 170}},
       {{"实木门", "1680.5"}}},
      {"only the estimate file valid", okReply(validEstimate), notFound, {{"帖砖费用", 40}, {"封阳台", 170}}, {}},
      {"only the item file valid", notFound, okReply(validItems), {}, {{"实木门", "1680.5"}}},
      {"a missing key reads as 0 or empty", okReply(settingsFile(estimatePriceDefaults(), {}, "门槛石")),
       okReply(settingsFile(itemPriceDefaults(), {}, "实木门")), {{"门槛石", 0}, {"封阳台", 170}}, {{"实木门", ""}}},
      {"a tail key takes the first matching entry",
       okReply(settingsFile(estimatePriceDefaults(), {{"舒适型封阳台", "171"}, {"封阳台", "215"}})), notFound,
       {{"舒适型封阳台", 171}, {"封阳台", 171}}, {}},
      {"a lower-case marker does not count", okReply(withLowerCaseMarker(validEstimate)),
       okReply(withLowerCaseMarker(validItems)), {}, {}},
      {"an error page served with 200 keeps the defaults", okReply("<html>Server Error</html>"),
       okReply("<html>Server Error</html>"), {}, {}},
      {"the status is not examined", "HTTP/1.1 500 Oops\r\nContent-Length: " + std::to_string(validEstimate.size()) +
           "\r\n\r\n" + validEstimate, notFound, {{"帖砖费用", 40}, {"封阳台", 170}}, {}},
      {"a file broken off after its marker is not applied", brokenOffReply(validEstimate, validEstimate.size() / 2),
       brokenOffReply(validItems, validItems.size() - 40), {}, {}},
  };
  for (const Case& c : cases) {
    LocalHttpServer server([&](const std::string& request) {
      if (request.starts_with("GET /bj/AppConfig.xml ")) return c.estimateReply;
      if (request.starts_with("GET /bj/Xiangxi.xml ")) return c.itemReply;
      return notFound;
    });
    HttpUrlFetcher fetcher(kShortLimits);
    PriceTable table;
    table.resetToDefaults();
    loadConfiguration(fetcher, Endpoints::allAt(server.address()), table);
    expectWholeTable(table, c.estimate, c.items, c.name);
    EXPECT_EQ(server.requests().size(), 2u) << c.name;
  }
}

TEST(ConfigurationOverHttp, AnUnreachableOrSilentServerKeepsEveryDefault) {
  LocalHttpServer silent = LocalHttpServer::silent();
  for (const std::string& address :
       {"http://127.0.0.1:" + std::to_string(test::refusedPort()), silent.address()}) {
    HttpUrlFetcher fetcher(kShortLimits);
    PriceTable table;
    table.resetToDefaults();
    const PriceFilesApplied applied = loadConfiguration(fetcher, Endpoints::allAt(address), table);
    EXPECT_FALSE(applied.estimatePrices) << address;
    EXPECT_FALSE(applied.itemPrices) << address;
    expectWholeTable(table, {}, {}, address);
  }
  EXPECT_EQ(silent.connectionCount(), 2u);
}

}  // namespace
}  // namespace decor
