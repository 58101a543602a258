#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

#include "text/codepage.h"
#include "text/text_to_number.h"

namespace decor {
namespace {

TEST(TextToNumber, ReadsTheLeadingNumberLikeAtof) {
  EXPECT_DOUBLE_EQ(textToNumber("120"), 120.0);
  EXPECT_DOUBLE_EQ(textToNumber("  \t-3.5"), -3.5);
  EXPECT_DOUBLE_EQ(textToNumber("+7"), 7.0);
  EXPECT_DOUBLE_EQ(textToNumber("2%"), 2.0);
  EXPECT_DOUBLE_EQ(textToNumber("40.9"), 40.9);
  EXPECT_DOUBLE_EQ(textToNumber("3200*2800"), 3200.0);
  EXPECT_DOUBLE_EQ(textToNumber(".5"), 0.5);
  EXPECT_DOUBLE_EQ(textToNumber("5."), 5.0);
  EXPECT_DOUBLE_EQ(textToNumber("1.5e3x"), 1500.0);
  EXPECT_DOUBLE_EQ(textToNumber("1.5E-2"), 0.015);
  EXPECT_DOUBLE_EQ(textToNumber("2e"), 2.0);    // exponent without digits is not read
  EXPECT_DOUBLE_EQ(textToNumber("2e+"), 2.0);
  EXPECT_DOUBLE_EQ(textToNumber("007"), 7.0);
}

TEST(TextToNumber, NoNumberGivesZero) {
  EXPECT_EQ(textToNumber(""), 0.0);
  EXPECT_EQ(textToNumber("abc"), 0.0);
  EXPECT_EQ(textToNumber("-"), 0.0);
  EXPECT_EQ(textToNumber("."), 0.0);
  EXPECT_EQ(textToNumber("平方"), 0.0);
  EXPECT_EQ(textToNumber("inf"), 0.0);  // only digits count, as in the program's own reader
  EXPECT_EQ(textToNumber("nan"), 0.0);
  EXPECT_EQ(textToNumber("0x10"), 0.0);
}

TEST(TextToNumber, OutOfRangeLikeAtof) {
  EXPECT_EQ(textToNumber("1e999"), HUGE_VAL);
  EXPECT_EQ(textToNumber("-1e999"), -HUGE_VAL);
  EXPECT_EQ(textToNumber("1e-999"), 0.0);
  EXPECT_EQ(textToNumber("0.000001e-400"), 0.0);
  EXPECT_EQ(textToNumber(std::string(400, '9')), HUGE_VAL);
}

TEST(TextToNumber, FullWidthDigitsAndSignsFold) {
  EXPECT_DOUBLE_EQ(textToNumber("１２０"), 120.0);
  EXPECT_DOUBLE_EQ(textToNumber("　－１２．５"), -12.5);  // ideographic space, full-width minus and point
  EXPECT_DOUBLE_EQ(textToNumber("１２０平方"), 120.0);
  EXPECT_DOUBLE_EQ(textToNumber("１ｅ３"), 1000.0);
}

TEST(TextToNumber, FoldCoversTheWholeGbkRow) {
  // Every character of the GBK row A3A1..A3FE folds to the ASCII character of its second
  // byte less 0x80; so do the four single characters of row A1.
  for (int second = 0xA1; second <= 0xFE; ++second) {
    const std::string gbk{static_cast<char>(0xA3), static_cast<char>(second)};
    const std::string expected(1, static_cast<char>(second - 0x80));
    EXPECT_EQ(foldFullWidth(gbkToUtf8(gbk)), expected) << "A3" << std::hex << second;
  }
  EXPECT_EQ(foldFullWidth(gbkToUtf8("\xA1\xA1")), " ");
  EXPECT_EQ(foldFullWidth(gbkToUtf8("\xA1\xAB")), "~");
  EXPECT_EQ(foldFullWidth(gbkToUtf8("\xA1\xEE")), "*");
  EXPECT_EQ(foldFullWidth(gbkToUtf8("\xA1\xEF")), "*");
  EXPECT_EQ(foldFullWidth("客厅\xFF" "A"), "客厅\xFF" "A");  // other text and stray bytes stay
}

TEST(TextToNumber, IndependentOfTheCLocale) {
  const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) std::setlocale(LC_NUMERIC, "fr_FR.UTF-8");
  EXPECT_DOUBLE_EQ(textToNumber("40.9"), 40.9);
  std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(Truncation, TowardZeroAndDefinedAtTheEdges) {
  EXPECT_EQ(truncateToInt32(3.9), 3);
  EXPECT_EQ(truncateToInt32(-3.9), -3);
  EXPECT_EQ(truncateToInt32(189.9), 189);
  EXPECT_EQ(truncateToInt32(2147483647.9), 2147483647);
  EXPECT_EQ(truncateToInt32(-2147483648.9), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(truncateToInt32(1e12), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(truncateToInt32(-1e12), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(truncateToInt32(HUGE_VAL), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(truncateToInt32(std::nan("")), 0);
  EXPECT_EQ(textToInt32("40.9"), 40);
  EXPECT_EQ(textToInt32("-1"), -1);
  EXPECT_EQ(textToInt32("１０"), 10);
}

}  // namespace
}  // namespace decor
