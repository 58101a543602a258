#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "contact/contact_rules.h"

namespace decor {
namespace {

TEST(ContactRules, EachAddressRuleIsTheLooserOneAndMore) {
  struct Case {
    std::string email;
    bool desktopBox, intake, mailRecipient;
  };
  const std::string longLocal(64, 'a');
  const std::vector<Case> cases = {
      // The desktop box: "@" anywhere, or nothing typed yet.
      {"", true, true, false},
      {"abc", false, false, false},
      {" ", false, false, false},
      {"a＠b", false, false, false},  // a full-width "@" is no "@"
      {"@", true, false, false},
      {"a@b c", true, false, false},
      {"客户@邮箱", true, true, false},
      // The server's intake: dot-atoms "@" labels; UTF-8 allowed, nothing that breaks a line.
      {"a@b", true, true, true},
      {"zhang.san+quote@mail.example.cn", true, true, true},
      {"o'neil!#$%*/=?^_`{|}~-@x-y.z", true, true, true},
      {"客户a+b&c=d@qq.com", true, true, false},
      {"a@邮件.中国", true, true, false},
      {"@b.cn", true, false, false},
      {"a@", true, false, false},
      {"a b@c.cn", true, false, false},
      {"a@b.cn\r\nBcc: x@y", true, false, false},
      {"a@b.cn\n", true, false, false},
      {std::string("a\0@b.cn", 7), true, false, false},
      {"a\t@b.cn", true, false, false},
      {".a@b.cn", true, false, false},
      {"a..b@c.cn", true, false, false},
      {"a.@b.cn", true, false, false},
      {"a@b..cn", true, false, false},
      {"a@-b.cn", true, false, false},
      {"a@b-.cn", true, false, false},
      {"a@b_c.cn", true, false, false},
      {"a@b@c.cn", true, false, false},
      {"\"a\"@b.cn", true, false, false},
      {"<a@b.cn>", true, false, false},
      {"a,b@c.cn", true, false, false},
      {"a(b)@c.cn", true, false, false},
      {longLocal + "@b.cn", true, true, true},
      {longLocal + "a@b.cn", true, false, false},
      {"a@" + std::string(63, 'b') + ".cn", true, true, true},
      {"a@" + std::string(64, 'b') + ".cn", true, false, false},
      {longLocal + "@" + std::string(63, 'b') + "." + std::string(63, 'c') + "." + std::string(61, 'd'), true, true,
       true},  // 254 bytes
      {longLocal + "@" + std::string(63, 'b') + "." + std::string(63, 'c') + "." + std::string(62, 'd'), true, false,
       false},  // 255
  };
  for (const auto& c : cases) {
    const bool desktop = acceptableEmail(c.email, EmailStrictness::DesktopBox);
    const bool intake = acceptableEmail(c.email, EmailStrictness::Intake);
    const bool recipient = acceptableEmail(c.email, EmailStrictness::MailRecipient);
    EXPECT_EQ(desktop, c.desktopBox) << c.email;
    EXPECT_EQ(intake, c.intake) << c.email;
    EXPECT_EQ(recipient, c.mailRecipient) << c.email;
    // The nesting the header promises, whatever the table says.
    EXPECT_TRUE(!recipient || intake) << c.email;
    EXPECT_TRUE(!intake || desktop) << c.email;
  }
}

TEST(ContactRules, WhatThePhoneBoxTakesTheServerTakes) {
  struct Case {
    std::string phone;
    bool phoneBox, plausible;
  };
  const std::vector<Case> cases = {
      {"", true, true},
      {"13805712345", true, true},
      {"138057123456", false, true},
      {"1380571234a", false, false},
      {"+86 138-0013-8000", false, true},
      {std::string(20, '1'), false, true},
      {std::string(21, '1'), false, false},
      {"138001380OO", false, false},
      {"138\r\n", false, false},
      {"(010) 1234", false, false},
      {"１３８", false, false},
      {"=1+2", false, false},
      {"138;139", false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(isPhoneBoxText(c.phone), c.phoneBox) << c.phone;
    EXPECT_EQ(plausiblePhone(c.phone), c.plausible) << c.phone;
    EXPECT_TRUE(!c.phoneBox || plausiblePhone(c.phone)) << c.phone;
  }
}

TEST(ContactRules, TheFirstImplausibleFieldIsNamed) {
  EXPECT_EQ(implausibleField({"a@b.cn", "138", "任何内容\r\n\x1b[2J"}), "");
  EXPECT_EQ(implausibleField({"a b", "x", "r"}), "邮箱格式不正确");
  EXPECT_EQ(implausibleField({"a@b", "x", "r"}), "手机号只能包含数字、空格、+ 和 -，最多 20 个字符");
}

}  // namespace
}  // namespace decor
