#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "text/input_rules.h"

namespace decor {
namespace {

TEST(InputRules, DecimalText) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"", true},        {"100", true},   {"100.5", true},  {"１２０", true}, {"１２０．５", true},
      {".5", true},      {"12.", true},   {"1.2.3", false}, {"-5", false},    {"1e5", false},
      {"12 ", false},    {"abc", false},  {"１２o", false}, {"120平", false},
      // Seven characters before the point at most, full-width ones counted alike.
      {"9999999", true}, {"9999999.999", true}, {"10000000", false}, {"１２３４５６７", true},
      {"１２３４５６７８", false}, {"0000000.5", true}, {"00000000", false},
      {std::string(39, '9'), false}, {"." + std::string(20, '9'), true},
  };
  for (const auto& [text, accepted] : cases) EXPECT_EQ(isDecimalText(text), accepted) << text;
}

TEST(InputRules, WithoutLeadingZero) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"", true},    {"0", true},    {"1", true},     {"10", true},   {"-", true},
      {"01", false}, {"00", false},  {"0-", false},   {"０１", false}, {"１０", true},
  };
  for (const auto& [text, accepted] : cases) EXPECT_EQ(isWithoutLeadingZero(text), accepted) << text;
}

TEST(InputRules, SpinStepsStayInRangeAndKeepFractions) {
  const std::vector<std::tuple<std::string, int, std::string>> cases = {
      {"100", 1, "101"},     {"100", -1, "99"},     {"12.5", 1, "30"},     {"4999.5", 1, "5000"},
      {"5000", 1, "5000"},   {"30", -1, "30"},      {"１２０", 2, "122"},   {"", 1, "30"},
      {"abc", -1, "30"},     {"99999", -1, "5000"}, {"100.25", 3, "103.25"},
  };
  for (const auto& [text, steps, expected] : cases) {
    EXPECT_EQ(stepNumberText(text, steps, 30, 5000), expected) << text << " " << steps;
  }
}

}  // namespace
}  // namespace decor
