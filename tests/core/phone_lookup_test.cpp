#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "net/phone_lookup.h"
#include "recording_url_fetcher.h"

namespace decor {
namespace {

TEST(PhoneLookup, IsDueAtExactlySevenCharacters) {
  EXPECT_FALSE(isLookupDue(""));
  EXPECT_FALSE(isLookupDue("138005"));
  EXPECT_TRUE(isLookupDue("1380057"));
  EXPECT_FALSE(isLookupDue("13800571"));
  EXPECT_TRUE(isLookupDue("一二三四五六七"));  // characters, not bytes
}

TEST(PhoneLookup, ReadsTheProvinceOfTheReply) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {R"(querycallback({"Mobile":"1380057","Province":"浙江","City":"杭州",});)", "浙江"},
      {R"({"province":"Zhejiang", "x":1})", "Zhejiang"},  // the markers ignore letter case
      {R"({"Province":"",})", ""},
      {R"({"Province":"浙江"})", ""},                        // no end marker
      {R"({"Mobile":"1380057"})", ""},
      {"", ""},
  };
  for (const auto& [reply, province] : cases) EXPECT_EQ(provinceFromLookupReply(reply), province) << reply;
}

TEST(PhoneLookup, FetchesTheServiceForTheDigitsAndReadsItsReply) {
  RecordingUrlFetcher fetcher;
  Endpoints endpoints = Endpoints::allAt("http://where.test");
  endpoints.locationPage = "mobile.php";
  const std::string url = "http://where.test/Locating/mobile.php?m=1380057&output=json&callback=querycallback";
  fetcher.answer(url, R"(querycallback({"Province":"广东",});)");
  EXPECT_EQ(lookUpProvince(fetcher, endpoints, "1380057"), "广东");
  EXPECT_EQ(lookUpProvince(fetcher, endpoints, "1390000"), "");  // unreachable or unknown
  EXPECT_EQ(fetcher.requested,
            (std::vector<std::string>{url, "http://where.test/Locating/mobile.php?m=1390000&output=json&callback=querycallback"}));
}

TEST(PhoneLookup, ALateAnswerConcernsABoxThatStillBeginsWithTheDigits) {
  EXPECT_TRUE(lookupStillApplies("1380057", "1380057"));
  EXPECT_TRUE(lookupStillApplies("13800571234", "1380057"));
  EXPECT_FALSE(lookupStillApplies("138005", "1380057"));
  EXPECT_FALSE(lookupStillApplies("1390057", "1380057"));
  EXPECT_FALSE(lookupStillApplies("", "1380057"));
}

}  // namespace
}  // namespace decor
