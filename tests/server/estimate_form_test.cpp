#include <gtest/gtest.h>

#include <string>

#include "server/intake/estimate_form.h"

namespace decor::server {
namespace {

struct GoodForm {
  std::string body;
  EstimateForm expected;
};

TEST(EstimateForm, DecodesEveryFieldAsTheProgramEncodesIt) {
  const std::string head = "email=a@b&tel=1&result=";
  const std::string filling(kMaxFormBytes - head.size(), 'x');
  const GoodForm cases[] = {
      // Upper-case escapes, "+" kept, blanks as blanks, "<br />" back to CR LF.
      {"email=a%40b.cn&result=%E5%85%83 1+1%25%26x%3Cbr %2F%3E%E7%AC%AC%E4%BA%8C%E8%A1%8C&tel=13800138000",
       {"a@b.cn", "13800138000", "元 1+1%&x\r\n第二行"}},
      // Lower-case escapes, a lone line feed, fields in another order, an unknown field ignored.
      {"tel=139&extra=%zz&result=a%0ab%3cbr %2f%3e&email=%e9%82%ae@x", {"邮@x", "139", "a\nb\r\n"}},
      // "=" inside a value and an escaped "&" stay part of the value.
      {"email=x@y&result=a=b%26c=d&tel=1", {"x@y", "1", "a=b&c=d"}},
      // An escaped "+", mixed-case hex digits and an escaped NUL.
      {"email=x@y&result=a+b%2B%2b%41%61%00&tel=1", {"x@y", "1", std::string("a+b++Aa\0", 8)}},
      // A body of exactly the limit.
      {head + filling, {"a@b", "1", filling}},
  };
  for (const auto& [body, expected] : cases) {
    const FormParse parsed = parseEstimateForm(body);
    ASSERT_TRUE(parsed.form) << body.substr(0, 80) << ": " << parsed.error;
    EXPECT_EQ(*parsed.form, expected) << body.substr(0, 80);
    EXPECT_EQ(parsed.error, "");
  }
}

TEST(EstimateForm, RefusesMalformedBodiesWithTheReason) {
  const std::pair<std::string, std::string> cases[] = {
      {"", "不是表单：字段缺少 \"=\""},
      {"hello world", "不是表单：字段缺少 \"=\""},
      {"email=a@b&result=x&tel=1&", "不是表单：字段缺少 \"=\""},
      {std::string(1024 * 1024, '&'), "表单超过 64 KiB"},
      {"email=a@b&result=" + std::string(kMaxFormBytes, 'x') + "&tel=1", "表单超过 64 KiB"},
      {"email=a@b&result=50%&tel=1", "字段 result 含有无效的 % 转义"},
      {"email=a@b&tel=1&result=%", "字段 result 含有无效的 % 转义"},
      {"email=a@b&tel=1&result=%4", "字段 result 含有无效的 % 转义"},
      {"email=a@b&result=%G1&tel=1", "字段 result 含有无效的 % 转义"},
      {"email=a@b&result=%-1&tel=1", "字段 result 含有无效的 % 转义"},
      {"email=a@b&result=%FF%FE&tel=1", "字段 result 不是有效的 UTF-8"},
      {"email=a@b&result=%E5%85&tel=1", "字段 result 不是有效的 UTF-8"},
      {"email=%C0%80&result=x&tel=1", "字段 email 不是有效的 UTF-8"},
      {"email=a@b&result=x", "缺少字段 tel"},
      {"result=x&tel=1", "缺少字段 email"},
      {"email=a@b&result=&tel=1", "缺少字段 result"},
      {"email=a@b&result=x&tel=1&tel=2", "字段 tel 重复"},
  };
  for (const auto& [body, reason] : cases) {
    const FormParse parsed = parseEstimateForm(body);
    EXPECT_FALSE(parsed.form) << body.substr(0, 80);
    EXPECT_EQ(parsed.error, reason) << body.substr(0, 80);
  }
}

}  // namespace
}  // namespace decor::server
