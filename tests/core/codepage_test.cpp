#include <gtest/gtest.h>

#include "text/codepage.h"
#include "text/star_split.h"
#include "text/utf8.h"

namespace decor {
namespace {

TEST(Codepage, Utf8ToGbkAndBack) {
  EXPECT_EQ(utf8ToGbk(""), "");
  EXPECT_EQ(utf8ToGbk("abc 123"), "abc 123");
  const std::string gbk = utf8ToGbk("装修报价评估工具");
  ASSERT_EQ(gbk.size(), 16u);
  EXPECT_EQ(static_cast<unsigned char>(gbk[0]), 0xD7);
  EXPECT_EQ(static_cast<unsigned char>(gbk[1]), 0xB0);
  EXPECT_EQ(gbkToUtf8(gbk), "装修报价评估工具");
  EXPECT_EQ(utf8ToGbk("１２０"), "\xA3\xB1\xA3\xB2\xA3\xB0");
  EXPECT_EQ(utf8ToGbk("€"), "\x80");
}

TEST(Codepage, NeverFails) {
  // A character without a GBK form becomes the default character, one per character.
  EXPECT_EQ(utf8ToGbk("a😀b"), "a?b");
  EXPECT_EQ(utf8ToGbk("a\xFF\xFE" "b"), "a??b");       // invalid bytes, one "?" each
  EXPECT_EQ(utf8ToGbk("元\xE5\x85"), utf8ToGbk("元") + "??");  // truncated at the end
  EXPECT_EQ(gbkToUtf8("a\x81\x20" "b"), "a? b");        // a lead byte without a valid trail
  EXPECT_EQ(gbkToUtf8("ab\xD7"), "ab?");               // a lone lead byte at the end
  EXPECT_EQ(gbkToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(Codepage, IncomingTextStopsAtZeroAndKeepsOnlyWhatGbkHolds) {
  EXPECT_EQ(acceptIncomingUtf8(std::string("123\0" "456", 7)), "123");
  EXPECT_EQ(acceptIncomingUtf8("价格😀\xFF"), "价格??");
  EXPECT_EQ(acceptIncomingUtf8("发送成功"), "发送成功");
}

TEST(StarSplit, KeepsEmptyPiecesBeforeAStarAndDropsAnEmptyLastPiece) {
  using V = std::vector<std::string>;
  EXPECT_EQ(splitOnStar("3200*2800*2920"), (V{"3200", "2800", "2920"}));
  EXPECT_EQ(splitOnStar("3200*2800*2920*"), (V{"3200", "2800", "2920"}));
  EXPECT_EQ(splitOnStar("3200**2920"), (V{"3200", "", "2920"}));
  EXPECT_EQ(splitOnStar("3200*2800"), (V{"3200", "2800"}));
  EXPECT_EQ(splitOnStar("1500"), (V{"1500"}));
  EXPECT_EQ(splitOnStar(""), V{});
  EXPECT_EQ(splitOnStar("*"), (V{""}));
  EXPECT_EQ(splitOnStar("**"), (V{"", ""}));
  EXPECT_EQ(splitOnStar("*800"), (V{"", "800"}));
  EXPECT_EQ(splitOnStar("长*宽"), (V{"长", "宽"}));
}

TEST(Utf8, CountsAndCutsWholeCharacters) {
  EXPECT_EQ(utf8Length("abc"), 3u);
  EXPECT_EQ(utf8Length("邮箱a"), 3u);
  EXPECT_EQ(utf8Length("\xFF\xFE"), 2u);
  EXPECT_EQ(utf8Left("邮箱地址", 2), "邮箱");
  EXPECT_EQ(utf8Left("ab", 5), "ab");
  std::string out;
  appendUtf8(out, U'元');
  appendUtf8(out, U'😀');
  EXPECT_EQ(out, "元😀");
}

}  // namespace
}  // namespace decor
