#include <gtest/gtest.h>

#include <random>

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

// The one-pass search must give for every key exactly what textBetween gives for it alone,
// on chosen texts and on random ones built from pieces where keys, markers, quotes and
// broken characters meet often.
TEST(TextsAfterKeys, AgreesWithTextBetweenKeyByKey) {
  const std::vector<std::string_view> keys{"封阳台", "舒适型封阳台", "PVC扣板", "门", "",   "\x85", "a\"b",
                                           "木",     "实木门",       "a",       "AB", "\xA8"};
  std::vector<std::string> texts{
      R"(<add key="舒适型封阳台" value="170" /><add key="封阳台" value="210" />)",
      R"(<add key="封阳台" value="210" /><add key="舒适型封阳台" value="170" />)",
      R"(<add key="pvc扣板" VALUE="33" /><add key="PVC扣板" value="44" />)",  // letters without case
      R"(实木门" value="1480" 门" value="2" " value="none")",
      R"(装" value="x" \x85" value="y")",   // no match inside a character, one on an invalid byte
      R"(a"b" value="q" 木" value="no closing quote)",
      R"(" value=" value=" value="z")",      // overlapping markers
      "",
      R"(门" value=)",
  };
  const std::vector<std::string> pieces{"门", "实木", "\" value=\"", "\"", "\" VALUE=\"", "a", "A", "\xE9", "\x97",
                                        "\xA8", " ", "1480", "舒适型", "封阳台", "\x85", "b"};
  std::mt19937 random(12);
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    const int count = static_cast<int>(random() % 24);
    for (int i = 0; i < count; ++i) text += pieces[random() % pieces.size()];
    texts.push_back(text);
  }
  for (const std::string& text : texts) {
    const std::vector<std::string> values = textsAfterKeys(text, keys, "\" value=\"", '"');
    ASSERT_EQ(values.size(), keys.size());
    for (std::size_t k = 0; k < keys.size(); ++k)
      ASSERT_EQ(values[k], textBetween(text, std::string(keys[k]) + "\" value=\"", "\"")) << text << " / " << keys[k];
  }
}

}  // namespace
}  // namespace decor
