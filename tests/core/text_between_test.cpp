#include <gtest/gtest.h>

#include "text/text_between.h"

namespace decor {
namespace {

TEST(TextBetween, FindsTheTextBetweenTheMarkers) {
  EXPECT_EQ(textBetween("abc", "a", "c"), "b");
  EXPECT_EQ(textBetween("abc", "a", "x"), "");
  EXPECT_EQ(textBetween("abc", "x", "c"), "");
  EXPECT_EQ(textBetween("abc", "A", "C"), "b");        // letters compare without case
  EXPECT_EQ(textBetween("abc", "A", "c", 0, true), "");  // unless asked to
  EXPECT_EQ(textBetween("aXc", "a", "c"), "X");
  EXPECT_EQ(textBetween("ac", "a", "c"), "");            // empty between the markers
  EXPECT_EQ(textBetween("a1c a2c", "a", "c"), "1");      // first start, next end after it
}

TEST(TextBetween, StartPositionCountsBytesFromOne) {
  EXPECT_EQ(textBetween("a1c a2c", "a", "c", 0), "1");
  EXPECT_EQ(textBetween("a1c a2c", "a", "c", 1), "1");
  EXPECT_EQ(textBetween("a1c a2c", "a", "c", 2), "2");
  EXPECT_EQ(textBetween("a1c", "a", "c", 10), "");
}

TEST(TextBetween, QuoteWordInMarkersStandsForAQuote) {
  EXPECT_EQ(textBetween(R"(key="v1" x)", "key=#引号", "#引号"), "v1");
  // The search text itself is never rewritten.
  EXPECT_EQ(textBetween(R"(<k value="a#引号b">)", "value=\"", "\""), "a#引号b");
}

TEST(TextBetween, PriceFileEntries) {
  const std::string file =
      R"(<appSettings><add key="帖砖费用" value="40.9" /><add key="门槛石" value="80" /></appSettings>)";
  EXPECT_EQ(textBetween(file, "帖砖费用\" value=\"", "\""), "40.9");
  EXPECT_EQ(textBetween(file, "门槛石\" value=\"", "\""), "80");
  EXPECT_EQ(textBetween(file, "防水涂料\" value=\"", "\""), "");
  EXPECT_EQ(textBetween(R"(<add key="门槛石" value="80 />)", "门槛石\" value=\"", "\""), "");  // no closing quote
}

TEST(TextBetween, KeyThatIsTheTailOfAnotherKeyMatchesTheFirstEntry) {
  const std::string tailFirst = R"(<add key="舒适型封阳台" value="170" /><add key="封阳台" value="210" />)";
  EXPECT_EQ(textBetween(tailFirst, "封阳台\" value=\"", "\""), "170");
  const std::string ownFirst = R"(<add key="封阳台" value="210" /><add key="舒适型封阳台" value="170" />)";
  EXPECT_EQ(textBetween(ownFirst, "封阳台\" value=\"", "\""), "210");
}

TEST(TextBetween, ChineseMarkersAndNoMatchInsideACharacter) {
  EXPECT_EQ(textBetween(R"(querycallback({"Province":"广东","City":"深圳"}))", "Province\":\"", "\","), "广东");
  EXPECT_EQ(textBetween("计算详情：五十元", "计算", "：" ), "详情");
  // 装 is E8 A3 85: a marker made of its last byte must not match inside it, while the
  // same byte standing alone (an invalid byte is a character of its own) does match.
  EXPECT_EQ(textBetween("装yx", "\x85", "x"), "");
  EXPECT_EQ(textBetween("装\x85yx", "\x85", "x"), "y");
}

}  // namespace
}  // namespace decor
