#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "net/form_encoding.h"

namespace decor {
namespace {

TEST(FormEncoding, EscapesTheSpecialCharactersAndEveryNonAsciiByteInUpperCaseHex) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", ""},
      {"<br />", "%3Cbr %2F%3E"},
      {"元", "%E5%85%83"},
      {"价格 为：19887.7元", "%E4%BB%B7%E6%A0%BC %E4%B8%BA%EF%BC%9A19887%2E7%E5%85%83"},
      {"~!@#$%^&*()-_=+[{]};:'\\|,<.>/?",
       "%7E%21%40%23%24%25%5E%26%2A%28%29%2D%5F%3D%2B%5B%7B%5D%7D%3B%3A%27%5C%7C%2C%3C%2E%3E%2F%3F"},
      {"`\"\r\n\t", "%60%22%0D%0A%09"},
      {"a b  c", "a b  c"},
      {std::string("x\0y", 3), "x%00y"},
      {"\xFF\x80", "%FF%80"},  // stray bytes are escaped like any other
  };
  for (const auto& [text, encoded] : cases) EXPECT_EQ(encodeForForm(text), encoded) << text;
}

TEST(FormEncoding, LeavesEveryOtherPrintableAsciiCharacterAlone) {
  std::string plain;
  std::string special = "~!@#$%^&*()-_=+[{]};:'\\|,<.>/?`\"";
  for (char c = ' '; c < 0x7F; ++c) {
    if (special.find(c) == std::string::npos) plain.push_back(c);
  }
  ASSERT_EQ(plain.size(), 95u - 32u);
  EXPECT_EQ(encodeForForm(plain), plain);
}

TEST(FormEncoding, DecodesEscapesInEitherCaseAndKeepsEverythingElse) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", ""},
      {"发送成功", "发送成功"},
      {"%E5%8F%91%E9%80%81%E6%88%90%E5%8A%9F", "发送成功"},
      {"%e5%8f%91%e9%80%81%e6%88%90%e5%8a%9f", "发送成功"},
      {"a+b%20c", "a+b c"},
      {"100%", "100%"},
      {"%4", "%4"},
      {"%G1%41", "%G1A"},
      {"%%41", "%A"},
      {"ok%00hidden", "ok"},     // a decoded zero byte ends the text, as any zero byte does
      {"%F0%9F%98%80!", "?!"},   // a character the program cannot hold becomes "?"
      {"%E5%8F", "??"},          // and so does a broken one
  };
  for (const auto& [reply, decoded] : cases) EXPECT_EQ(decodeReply(reply), decoded) << reply;
}

}  // namespace
}  // namespace decor
