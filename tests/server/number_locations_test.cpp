#include <gtest/gtest.h>

#include "server/standins/number_locations.h"

namespace decor::server {
namespace {

TEST(NumberLocations, ReplyCarriesTheProvinceOnlyForAKnownBlock) {
  const auto table = NumberLocations::builtIn();
  EXPECT_EQ(table.reply("1380013", "querycallback"),
            R"(querycallback({"Mobile":"1380013","QueryResult":"True","Province":"北京","City":"北京"});)");
  EXPECT_EQ(table.reply("13800138000", "cb_1"),
            R"(cb_1({"Mobile":"1380013","QueryResult":"True","Province":"北京","City":"北京"});)");
  EXPECT_EQ(table.reply("1111111", "querycallback"), R"(querycallback({"Mobile":"1111111","QueryResult":"False"});)");
  // Not a number block, and a callback that would inject script.
  EXPECT_EQ(table.reply("13800", "alert(1)"), R"(querycallback({"Mobile":"","QueryResult":"False"});)");
  EXPECT_EQ(table.reply("abcdefg", ""), R"(querycallback({"Mobile":"","QueryResult":"False"});)");
}

TEST(NumberLocations, ParsesATableFile) {
  std::string error;
  const auto table = NumberLocations::parse("# 号段\t省份\n1234567\t四川\n\n  7654321   新 \"疆\"\r\n", error);
  ASSERT_TRUE(table) << error;
  EXPECT_EQ(table->provinceOf("1234567"), "四川");
  EXPECT_EQ(table->provinceOf("1380013"), std::nullopt);  // the built-in blocks are not added
  EXPECT_EQ(table->reply("7654321", "q"), R"(q({"Mobile":"7654321","QueryResult":"True","Province":"新 \"疆\"","City":"新 \"疆\""});)");

  const std::pair<std::string, std::string> bad[] = {
      {"123456\t四川\n", "第 1 行应为七位号段、空白和省份"},
      {"1234567\t四川\n12345678 湖南\n", "第 2 行应为七位号段、空白和省份"},
      {"\n\n1234567\n", "第 3 行应为七位号段、空白和省份"},
      {"123456a 湖南", "第 1 行应为七位号段、空白和省份"},
  };
  for (const auto& [text, message] : bad) {
    EXPECT_FALSE(NumberLocations::parse(text, error)) << text;
    EXPECT_EQ(error, message) << text;
  }
}

}  // namespace
}  // namespace decor::server
