#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "net/quote_send.h"

namespace decor {
namespace {

TEST(QuoteSend, AcceptsAnEmptyAddressOrAnyAddressWithAnAtSign) {
  EXPECT_TRUE(isAcceptableEmail(""));
  EXPECT_TRUE(isAcceptableEmail("a@b"));
  EXPECT_TRUE(isAcceptableEmail("@"));
  EXPECT_TRUE(isAcceptableEmail("客户@邮箱"));
  EXPECT_FALSE(isAcceptableEmail("abc"));
  EXPECT_FALSE(isAcceptableEmail(" "));
  EXPECT_FALSE(isAcceptableEmail("a＠b"));  // the full-width sign is not the one
}

TEST(QuoteSend, AsksForTheAddressFirstThenForThePhone) {
  const auto both = missingSendInput("", "");
  ASSERT_TRUE(both.has_value());
  EXPECT_EQ(both->box, MissingSendInput::Box::Email);
  EXPECT_EQ(both->message, "请输入邮箱！");

  const auto noMail = missingSendInput("", "13800571234");
  ASSERT_TRUE(noMail.has_value());
  EXPECT_EQ(noMail->box, MissingSendInput::Box::Email);
  EXPECT_EQ(noMail->message, "请输入邮箱！");

  const auto noPhone = missingSendInput("a@b", "");
  ASSERT_TRUE(noPhone.has_value());
  EXPECT_EQ(noPhone->box, MissingSendInput::Box::Phone);
  EXPECT_EQ(noPhone->message, "请输入邮箱手机号！");

  EXPECT_FALSE(missingSendInput("a@b", "1").has_value());
}

TEST(QuoteSend, FormBodyEncodesEachFieldInItsFixedOrder) {
  const std::vector<std::vector<std::string>> cases = {
      // address, result text, phone, body
      {"a@b.cn", "价格\r\n19887.7元", "13800571234",
       "email=a%40b%2Ecn&result=%E4%BB%B7%E6%A0%BC%3Cbr %2F%3E19887%2E7%E5%85%83&tel=13800571234"},
      {"a&tel=1@x.cn", "x", "139", "email=a%26tel%3D1%40x%2Ecn&result=x&tel=139"},
      {"客户%@x", "a\nb\rc\r\n\r\n", "1",
       "email=%E5%AE%A2%E6%88%B7%25%40x&result=a%0Ab%0Dc%3Cbr %2F%3E%3Cbr %2F%3E&tel=1"},
      {"", "", "", "email=&result=&tel="},
      {"x@y", "\r\r\n", "1", "email=x%40y&result=%0D%3Cbr %2F%3E&tel=1"},
  };
  for (const auto& c : cases) EXPECT_EQ(quoteFormBody(c[0], c[1], c[2]), c[3]) << c[1];
}

TEST(QuoteSend, SuccessIsTheMarkAnywhereInTheDecodedReply) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"发送成功", true},
      {"您的报价已发送成功，请查收。", true},
      {"%E5%8F%91%E9%80%81%E6%88%90%E5%8A%9F", true},
      {"result=%e5%8f%91%e9%80%81%e6%88%90%e5%8a%9f&code=0", true},
      {"", false},
      {"发送失败", false},
      {"发送 成功", false},
      {"<html><body><h1>404 Not Found</h1></body></html>", false},
      {"%E5%8F%91%E9%80%81%E6%88%90", false},
  };
  for (const auto& [reply, success] : cases) EXPECT_EQ(isSendSuccess(reply), success) << reply;
}

TEST(QuoteSend, PostsTheBodyToTheSendAddressAndReadsTheOutcome) {
  Endpoints endpoints = Endpoints::allAt("http://quote.test:8080");
  std::vector<std::pair<std::string, std::string>> posted;
  std::string reply;
  const FormPoster post = [&](const std::string& url, const std::string& body) {
    posted.emplace_back(url, body);
    return reply;
  };

  reply = "ok 发送成功";
  EXPECT_EQ(sendQuoteForm(post, endpoints, "a@b", "价", "139"), "发送成功！");
  reply = "";
  EXPECT_EQ(sendQuoteForm(post, endpoints, "a@b", "价", "139"), "发送失败！");
  const std::pair<std::string, std::string> expected{"http://quote.test:8080/site/send",
                                                     "email=a%40b&result=%E4%BB%B7&tel=139"};
  EXPECT_EQ(posted, (std::vector{expected, expected}));
}

}  // namespace
}  // namespace decor
