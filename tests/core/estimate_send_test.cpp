#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "net/phone_lookup.h"
#include "net/estimate_send.h"
#include "recording_url_fetcher.h"

namespace decor {
namespace {

TEST(EstimateSend, AsksForAMissingBoxBeforeSending) {
  using Box = MissingSendInput::Box;
  const std::vector<std::tuple<std::string, std::string, Box, std::string_view>> missing = {
      {"", "", Box::Email, "请输入邮箱！"},  // both empty: only the address is asked for
      {"", "139", Box::Email, "请输入邮箱！"},
      {"a@b", "", Box::Phone, "请输入邮箱手机号！"},
  };
  for (const auto& [email, phone, box, message] : missing) {
    const auto found = missingSendInput(email, phone);
    ASSERT_TRUE(found.has_value()) << email << "/" << phone;
    EXPECT_EQ(found->box, box);
    EXPECT_EQ(found->message, message);
  }
  EXPECT_FALSE(missingSendInput("a@b", "1").has_value());
}

TEST(EstimateSend, SuccessIsTheMarkAnywhereInTheDecodedReply) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"发送成功", true},
      {"您的报价已发送成功，请查收。", true},
      {"result=%e5%8f%91%e9%80%81%e6%88%90%e5%8a%9f&code=0", true},
      {"", false},
      {"发送失败", false},
      {"发送 成功", false},
      {"%E5%8F%91%E9%80%81%E6%88%90", false},
  };
  for (const auto& [reply, success] : cases) EXPECT_EQ(isSendSuccess(reply), success) << reply;
}

TEST(PhoneLookup, ReadsTheProvinceOfTheServiceReply) {
  RecordingUrlFetcher fetcher;
  Endpoints endpoints = Endpoints::allAt("http://where.test");
  endpoints.locationPage = "mobile.php";
  const std::string url = endpoints.phoneLookupUrl("1380057");
  ASSERT_EQ(url, "http://where.test/Locating/mobile.php?m=1380057&output=json&callback=querycallback");
  const std::vector<std::pair<std::string, std::string>> cases = {
      {R"(querycallback({"Mobile":"1380057","Province":"浙江","City":"杭州",});)", "浙江"},
      {R"({"province":"Zhejiang", "x":1})", "Zhejiang"},  // the markers ignore letter case
      {R"({"Province":"",})", ""},
      {R"({"Province":"浙江"})", ""},  // no end marker
      {"", ""},                         // unreachable
  };
  for (const auto& [reply, province] : cases) {
    fetcher.answer(url, reply);
    EXPECT_EQ(lookUpProvince(fetcher, endpoints, "1380057"), province) << reply;
  }
  EXPECT_EQ(fetcher.requested, std::vector<std::string>(cases.size(), url));
}

}  // namespace
}  // namespace decor
