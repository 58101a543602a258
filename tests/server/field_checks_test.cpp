#include "server/intake/field_checks.h"

#include <gtest/gtest.h>

namespace decor::server {
namespace {

TEST(FieldChecks, EmailIsEmptyOrAnAddressWithoutBlanksOrControls) {
  const std::pair<std::string, bool> cases[] = {
      {"", true},
      {"a@b", true},
      {"zhang.san+quote@mail.example.cn", true},
      {"客户a+b&c=d@qq.com", true},
      {"o'neil!#$%*/=?^_`{|}~-@x-y.z", true},
      {"a@邮件.中国", true},
      {"@b.cn", false},
      {"a@", false},
      {"ab.cn", false},
      {"a b@c.cn", false},
      {"a@b.cn\r\nBcc: x@y", false},
      {"a@b.cn\n", false},
      {std::string("a\0@b.cn", 7), false},
      {"a\t@b.cn", false},
      {".a@b.cn", false},
      {"a..b@c.cn", false},
      {"a.@b.cn", false},
      {"a@b..cn", false},
      {"a@-b.cn", false},
      {"a@b-.cn", false},
      {"a@b_c.cn", false},
      {"a@b@c.cn", false},
      {"\"a\"@b.cn", false},
      {"<a@b.cn>", false},
      {std::string(65, 'a') + "@b.cn", false},
      {std::string(64, 'a') + "@b.cn", true},
      {"a@" + std::string(63, 'b') + ".cn", true},
      {"a@" + std::string(64, 'b') + ".cn", false},
      {"a@" + std::string(60, 'b') + "." + std::string(60, 'c') + "." + std::string(60, 'd') + "." +
           std::string(60, 'e') + "." + std::string(60, 'f'),
       false},  // over 254 characters
  };
  for (const auto& [email, plausible] : cases) EXPECT_EQ(plausibleEmail(email), plausible) << email;
}

TEST(FieldChecks, PhoneHoldsDigitsBlanksPlusAndMinusOnly) {
  const std::pair<std::string, bool> cases[] = {
      {"13800138000", true},          {"+86 138-0013-8000", true}, {"", true},
      {std::string(20, '1'), true},   {std::string(21, '1'), false}, {"138001380OO", false},
      {"138\r\n", false},             {"(010) 1234", false},          {"１３８", false},
      {"=1+2", false},                {"138;139", false},
  };
  for (const auto& [phone, plausible] : cases) EXPECT_EQ(plausiblePhone(phone), plausible) << phone;
}

TEST(FieldChecks, TheFirstImplausibleFieldIsNamed) {
  EXPECT_EQ(implausibleField({"a@b.cn", "138", "任何内容\r\n\x1b[2J"}), "");
  EXPECT_EQ(implausibleField({"a b", "x", "r"}), "邮箱格式不正确");
  EXPECT_EQ(implausibleField({"a@b", "x", "r"}), "手机号只能包含数字、空格、+ 和 -，最多 20 个字符");
}

}  // namespace
}  // namespace decor::server
