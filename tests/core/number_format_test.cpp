#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

#include "text/number_format.h"

namespace decor {
namespace {

TEST(NumberFormat, IntegersInPlainDecimal) {
  EXPECT_EQ(formatInteger(0), "0");
  EXPECT_EQ(formatInteger(650), "650");
  EXPECT_EQ(formatInteger(-2147483648LL), "-2147483648");
  EXPECT_EQ(formatInteger(12345678901LL), "12345678901");
}

TEST(NumberFormat, SingleRoundsToFloatThenSixDigits) {
  EXPECT_EQ(formatSingle(29345.6), "29345.6");
  EXPECT_EQ(formatSingle(271.718), "271.718");
  EXPECT_EQ(formatSingle(5.0), "5");
  EXPECT_EQ(formatSingle(55.5), "55.5");
  EXPECT_EQ(formatSingle(0.0), "0");
  EXPECT_EQ(formatSingle(0.1), "0.1");          // float 0.1 is 0.100000001...
  EXPECT_EQ(formatSingle(1432.7249), "1432.72");
  EXPECT_EQ(formatSingle(-3.25), "-3.25");
  // 16777217 is not a float: it rounds to 16777216 before printing.
  EXPECT_EQ(formatSingle(16777217.0), "1.67772e+007");
}

TEST(NumberFormat, SingleSwitchesToExponentAtSixDigits) {
  EXPECT_EQ(formatSingle(999999.0), "999999");
  EXPECT_EQ(formatSingle(1000000.0), "1e+006");
  EXPECT_EQ(formatSingle(1234567.0), "1.23457e+006");
  EXPECT_EQ(formatSingle(0.0001), "0.0001");
  EXPECT_EQ(formatSingle(0.00001), "1e-005");
  EXPECT_EQ(formatSingle(1.5e20), "1.5e+020");
  EXPECT_EQ(formatSingle(3e38), "3e+038");
}

TEST(NumberFormat, DoubleThirteenDigits) {
  EXPECT_EQ(formatDouble(9000.0), "9000");
  EXPECT_EQ(formatDouble(0.1), "0.1");
  EXPECT_EQ(formatDouble(1.0 / 3.0), "0.3333333333333");
  EXPECT_EQ(formatDouble(9999999999999.0), "9999999999999");
  EXPECT_EQ(formatDouble(10000000000000.0), "1e+013");
  EXPECT_EQ(formatDouble(12345678901234.0), "1.234567890123e+013");
  EXPECT_EQ(formatDouble(1e-5), "1e-005");
  EXPECT_EQ(formatDouble(1e300), "1e+300");
  EXPECT_EQ(formatDouble(-0.5), "-0.5");
}

TEST(NumberFormat, NonFiniteNeverPrinted) {
  EXPECT_EQ(formatSingle(std::numeric_limits<double>::infinity()), "0");
  EXPECT_EQ(formatSingle(std::nan("")), "0");
  EXPECT_EQ(formatDouble(-std::numeric_limits<double>::infinity()), "0");
  EXPECT_EQ(formatSingle(1e39), "0");  // beyond float: infinite once stored
}

TEST(NumberFormat, IndependentOfTheCLocale) {
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous ? previous : "C";
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) std::setlocale(LC_NUMERIC, "fr_FR.UTF-8");
  EXPECT_EQ(formatSingle(29345.6), "29345.6");
  EXPECT_EQ(formatDouble(0.25), "0.25");
  std::setlocale(LC_NUMERIC, saved.c_str());
}

}  // namespace
}  // namespace decor
