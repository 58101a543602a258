// The estimate form, both sides: what the program writes, what the server reads, and that the
// one reads back what the other wrote.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "contact/estimate_form.h"
#include "contact/percent_encoding.h"

namespace decor {
namespace {

TEST(EstimateForm, BodyEncodesEachFieldInItsFixedOrder) {
  std::string plainAscii;  // every printable character that is not special
  const std::string special = "~!@#$%^&*()-_=+[{]};:'\\|,<.>/?`\"";
  for (char c = ' '; c < 0x7F; ++c) {
    if (special.find(c) == std::string::npos) plainAscii.push_back(c);
  }
  ASSERT_EQ(plainAscii.size(), 95u - 32u);

  const std::vector<std::vector<std::string>> cases = {
      // address, result text, phone, body
      {"a@b.cn", "价格\r\n19887.7元", "13800571234",
       "email=a%40b%2Ecn&result=%E4%BB%B7%E6%A0%BC%3Cbr %2F%3E19887%2E7%E5%85%83&tel=13800571234"},
      {"客户%@x", "a\nb\rc\r\n\r\n", "1",
       "email=%E5%AE%A2%E6%88%B7%25%40x&result=a%0Ab%0Dc%3Cbr %2F%3E%3Cbr %2F%3E&tel=1"},
      {"x@y", "\r\r\n", "1", "email=x%40y&result=%0D%3Cbr %2F%3E&tel=1"},
      {"", "", "", "email=&result=&tel="},
      // Only the result's CR LF become the tag; elsewhere CR and LF are escaped like the rest.
      {"`\"\r\n\t", "<br />", "元", "email=%60%22%0D%0A%09&result=%3Cbr %2F%3E&tel=%E5%85%83"},
      {"x@y", "价格 为：19887.7元", "a b  c", "email=x%40y&result=%E4%BB%B7%E6%A0%BC %E4%B8%BA%EF%BC%9A19887%2E7%E5%85%83&tel=a b  c"},
      {"x@y", "~!@#$%^&*()-_=+[{]};:'\\|,<.>/?", "1",
       "email=x%40y&result=%7E%21%40%23%24%25%5E%26%2A%28%29%2D%5F%3D%2B%5B%7B%5D%7D%3B%3A%27%5C%7C%2C%3C%2E%3E%2F%3F&tel=1"},
      {std::string("x\0y", 3), "\xFF\x80", "1", "email=x%00y&result=%FF%80&tel=1"},  // stray bytes as any other
      {"x@y", plainAscii, "1", "email=x%40y&result=" + plainAscii + "&tel=1"},
  };
  for (const auto& c : cases) EXPECT_EQ(estimateFormBody(c[0], c[1], c[2]), c[3]) << c[1];
}

TEST(EstimateForm, EscapesDecodeInEitherCaseAndABrokenOneIsKeptInARepliesButRefusedInAField) {
  struct Case {
    std::string text;
    std::string reply;                 // decodeReply
    std::optional<std::string> field;  // percentDecode
  };
  const std::vector<Case> cases = {
      {"", "", ""},
      {"发送成功", "发送成功", "发送成功"},
      {"%E5%8F%91%E9%80%81%E6%88%90%E5%8A%9F", "发送成功", "发送成功"},
      {"%e5%8f%91%e9%80%81%e6%88%90%e5%8a%9f", "发送成功", "发送成功"},
      // "+" is a blank in a form, itself in a reply; "%2B" is "+" in both.
      {"a+b%20c%2B%2b%41%61", "a+b c++Aa", "a b c++Aa"},
      {"100%", "100%", std::nullopt},
      {"%4", "%4", std::nullopt},
      {"%G1%41", "%G1A", std::nullopt},
      {"%-1", "%-1", std::nullopt},
      {"%%41", "%A", std::nullopt},
      // A reply is text the program keeps: a decoded zero byte ends it, a character it cannot
      // hold or a broken one becomes "?". A field keeps its bytes; the form checks them.
      {"ok%00hidden", "ok", std::string("ok\0hidden", 9)},
      {"%F0%9F%98%80!", "?!", "\xF0\x9F\x98\x80!"},
      {"%E5%8F", "??", "\xE5\x8F"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(decodeReply(c.text), c.reply) << c.text;
    EXPECT_EQ(percentDecode(c.text), c.field) << c.text;
  }
}

// Every field the program may send comes back as it was sent, with the one exception of the
// line-break tag; what the program never sends is refused with the reason.
TEST(EstimateForm, WhatTheProgramWritesTheServerReadsBack) {
  std::string everyAscii;
  for (int c = 0; c < 0x80; ++c) everyAscii.push_back(static_cast<char>(c));
  const std::string overhead = estimateFormBody("a@b", "", "1");
  const std::string atLimit(kMaxFormBytes - overhead.size(), 'x');

  struct Case {
    std::string email, result, phone;
    std::optional<std::string> resultBack;  // none: the result as sent
    std::string error;                      // empty: accepted
  };
  const std::vector<Case> cases = {
      {everyAscii, everyAscii, everyAscii, std::nullopt, ""},
      {"a&email=b@c", "x&tel=2&result=y", "1=1", std::nullopt, ""},
      {"100%@x", "%41%%%", "+86 138", std::nullopt, ""},
      {"+@x", "1+1=2", "+", std::nullopt, ""},
      {"\r\n@x", "\r\n", "\n\r", std::nullopt, ""},
      {"x@y", "\n\r\r\n\r\r\n\n", "1", std::nullopt, ""},
      {"x@y", "第一行\r\n\r\n第三行\r\n", "1", std::nullopt, ""},
      {"x@y", "😀𠀀\r\n元", "1", std::nullopt, ""},
      // The tag the result's line breaks travel as: one the text itself spells comes back as a
      // line break. In the address and the number it is plain text.
      {"<br />@x", "a<br />b\r\nc", "<br />", "a\r\nb\r\nc", ""},
      {"x@y", "<br /><br />\r\n<br", "1", "\r\n\r\n\r\n<br", ""},
      {"a@b", atLimit, "1", std::nullopt, ""},
      {"a@b", atLimit + "x", "1", std::nullopt, "表单超过 64 KiB"},
      {"a@b", std::string(kMaxFormBytes / 3, '\n'), "1", std::nullopt, "表单超过 64 KiB"},
      {"", "x", "1", std::nullopt, "缺少字段 email"},
      {"x@y", "", "1", std::nullopt, "缺少字段 result"},
      {"x@y", "x", "", std::nullopt, "缺少字段 tel"},
      {"x@y", "\xE5\x85", "1", std::nullopt, "字段 result 不是有效的 UTF-8"},
      {"\xC0\x80", "x", "1", std::nullopt, "字段 email 不是有效的 UTF-8"},
  };
  for (const auto& c : cases) {
    const std::string body = estimateFormBody(c.email, c.result, c.phone);
    const std::string shown = c.result.substr(0, 40);
    // Every value escaped: no text can add, end or forge a field.
    EXPECT_EQ(std::count(body.begin(), body.end(), '&'), 2) << shown;
    EXPECT_TRUE(std::all_of(body.begin(), body.end(), [](char b) { return static_cast<unsigned char>(b) < 0x80; }));
    const FormParse parsed = parseEstimateForm(body);
    EXPECT_EQ(parsed.error, c.error) << shown;
    if (!c.error.empty()) {
      EXPECT_FALSE(parsed.form) << shown;
      continue;
    }
    ASSERT_TRUE(parsed.form) << shown;
    EXPECT_EQ(*parsed.form, (EstimateForm{c.email, c.phone, c.resultBack.value_or(c.result)})) << shown;
  }
}

TEST(EstimateForm, ReadsWhatOtherClientsMayWrite) {
  const std::pair<std::string, EstimateForm> cases[] = {
      // Lower-case escapes, a lone line feed, fields in another order, an unknown field ignored.
      {"tel=139&extra=%zz&result=a%0ab%3cbr %2f%3e&email=%e9%82%ae@x", {"邮@x", "139", "a\nb\r\n"}},
      // "=" inside a value and an escaped "&" stay part of the value; "+" is a blank.
      {"email=x@y&result=a=b%26c=d+e&tel=+86+138", {"x@y", " 86 138", "a=b&c=d e"}},
  };
  for (const auto& [body, expected] : cases) {
    const FormParse parsed = parseEstimateForm(body);
    ASSERT_TRUE(parsed.form) << body << ": " << parsed.error;
    EXPECT_EQ(*parsed.form, expected) << body;
  }
}

TEST(EstimateForm, RefusesMalformedBodiesWithTheReason) {
  const std::pair<std::string, std::string> cases[] = {
      {"", "不是表单：字段缺少 \"=\""},
      {"hello world", "不是表单：字段缺少 \"=\""},
      {"email=a@b&result=x&tel=1&", "不是表单：字段缺少 \"=\""},
      {std::string(1024 * 1024, '&'), "表单超过 64 KiB"},
      {"email=a@b&result=50%&tel=1", "字段 result 含有无效的 % 转义"},
      {"email=a@b&tel=1&result=%", "字段 result 含有无效的 % 转义"},
      {"email=a@b&result=%G1&tel=1", "字段 result 含有无效的 % 转义"},
      {"email=a@b&result=%FF%FE&tel=1", "字段 result 不是有效的 UTF-8"},
      {"email=a@b&result=x", "缺少字段 tel"},
      {"email=a@b&result=x&tel=1&tel=2", "字段 tel 重复"},
  };
  for (const auto& [body, reason] : cases) {
    const FormParse parsed = parseEstimateForm(body);
    EXPECT_FALSE(parsed.form) << body.substr(0, 80);
    EXPECT_EQ(parsed.error, reason) << body.substr(0, 80);
  }
}

}  // namespace
}  // namespace decor
