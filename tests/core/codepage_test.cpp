#include <gtest/gtest.h>

#ifndef _WIN32
#include <iconv.h>
#endif

#include <cerrno>
#include <random>

#include "text/codepage.h"
#include "text/gbk_codec.h"
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
  EXPECT_EQ(cutAtZeroByteAndRoundTripGbk(std::string("123\0" "456", 7)), "123");
  EXPECT_EQ(cutAtZeroByteAndRoundTripGbk("价格😀\xFF"), "价格??");
  EXPECT_EQ(cutAtZeroByteAndRoundTripGbk("发送成功"), "发送成功");
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

TEST(StarSplit, PiecesByPositionAgreeWithTheSplit) {
  for (const char* text : {"3200*2800*2920", "3200*2800*2920*", "3200**2920", "", "*", "**", "*800", "长*宽", "1500",
                           "a*b*c*d*e"}) {
    const std::vector<std::string> pieces = splitOnStar(text);
    EXPECT_EQ(starPieceCount(text), pieces.size()) << text;
    for (std::size_t i = 0; i < pieces.size() + 2; ++i)
      EXPECT_EQ(starPiece(text, i), i < pieces.size() ? pieces[i] : "") << text << " " << i;
  }
  // A million stars: counted and indexed without a piece each.
  const std::string stars(1000000, '*');
  EXPECT_EQ(starPieceCount(stars), 1000000u);
  EXPECT_EQ(starPiece(stars, 2), "");
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

#ifndef _WIN32
// iconv run directly over the whole text, restarting after each character it refuses: slow,
// but plainly what the conversions must give.
std::string referenceConversion(std::string_view in, const char* to, const char* from, bool utf8Input) {
  static iconv_t encoder = iconv_open("GBK", "UTF-8");
  static iconv_t decoder = iconv_open("UTF-8", "GBK");
  iconv_t cd = std::string_view(to) == "GBK" ? encoder : decoder;
  EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1)) << from;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  std::string out;
  while (!in.empty()) {
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    std::string buffer(in.size() * 4 + 16, '\0');
    char* outPtr = buffer.data();
    std::size_t outLeft = buffer.size();
    const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    out.append(buffer.data(), static_cast<std::size_t>(outPtr - buffer.data()));
    in.remove_prefix(in.size() - inLeft);
    if (rc != static_cast<std::size_t>(-1)) break;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    out.push_back('?');
    in.remove_prefix(utf8Input ? decodeUtf8At(in, 0).length : 1);
  }
  return out;
}

TEST(Codepage, TablesGiveWhatIconvGivesOnRandomBytes) {
  // Bytes drawn so that valid UTF-8 and GBK characters, broken ones and ASCII all occur.
  const std::vector<std::string> pieces{"a", "\xE4\xBD\xA0", "\xF0\x9F\x98\x80", "\xE2\x82\xAC", "\xC2\xB7",
                                        "\xD7\xB0",       "\xA3\xB1",           "\x81\x40",         "\x80",
                                        "\xFF",            "\xE4",                "\x81",              "\xEF\xBF\xBF",
                                        "\xED\xA0\x80",   "\xC0\xAF",           std::string(1, '\0'), "\xA1\xA1"};
  std::mt19937 random(7);
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    const int count = static_cast<int>(random() % 12);
    for (int i = 0; i < count; ++i) text += pieces[random() % pieces.size()];
    ASSERT_EQ(utf8ToGbk(text), referenceConversion(text, "GBK", "UTF-8", true)) << round;
    ASSERT_EQ(gbkToUtf8(text), referenceConversion(text, "UTF-8", "GBK", false)) << round;
  }
}

// Character by character (the whole text at once would make the reference quadratic).
TEST(Codepage, EveryBmpCharacterAndEveryGbkPairAsIconvHasThem) {
  std::string all;
  std::string expected;
  for (char32_t cp = 0x80; cp < 0x10000; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    std::string one;
    appendUtf8(one, cp);
    all += one;
    expected += referenceConversion(one, "GBK", "UTF-8", true);
  }
  EXPECT_EQ(utf8ToGbk(all), expected);
  for (int lead = 0x80; lead <= 0xFF; ++lead) {
    for (int trail = 0; trail <= 0xFF; trail += (lead % 7 == 0 ? 1 : 3)) {
      const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
      ASSERT_EQ(gbkToUtf8(pair), referenceConversion(pair, "UTF-8", "GBK", false)) << lead << " " << trail;
    }
  }
}

iconv_t noConverter(const char*, const char*) {
  errno = EINVAL;
  return reinterpret_cast<iconv_t>(-1);
}

#endif

// A system without gconv modules (or code page 936): ASCII passes, every other character
// becomes one "?".
TEST(Codepage, WithoutAGbkConverterOnlyAsciiSurvives) {
#ifdef _WIN32
  const GbkCodec codec(1);  // no such code page
#else
  const GbkCodec codec(&noConverter);
#endif
  EXPECT_FALSE(codec.hasConverter());
  EXPECT_TRUE(gbkCodec().hasConverter());
  EXPECT_EQ(codec.utf8ToGbk("面积 120 M2：😀\xFF" "x"), "?? 120 M2???x");
  EXPECT_EQ(codec.gbkToUtf8("\xD7\xB0" "a\x80"), "??a?");
  EXPECT_EQ(codec.gbkToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
}

}  // namespace
}  // namespace decor
