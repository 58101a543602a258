// The recognition of the estimator's own text rests on the estimator's shape: which lines it
// writes depends only on the grade and on which counts are 0. These tests fail when a change
// to the estimator breaks that (a line that appears for some areas, prices or counts only, a
// label that carries a count), and when the recognition lets a changed text through.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "domain/vocabulary.h"
#include "estimate/estimator_text.h"
#include "estimate/quick_estimate.h"
#include "pricing/price_defaults.h"

namespace decor {
namespace {

struct GeneratedEstimate {
  QuickEstimateInput input;
  std::string text;  // as the result window shows it
};

// Inputs across what the windows and decor-cli accept: every grade, counts 0 to 9 with many
// zeros, areas from a millionth of a square metre to a million (exponent-form figures at both
// ends), typed texts among them, and price files that change any price, to 0 or below too.
std::vector<GeneratedEstimate> generatedEstimates(std::size_t count) {
  std::mt19937 random(20261209);
  auto pick = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  const std::vector<std::string> typedAreas = {"0", "1000000", "0.000001", "１２０", "85平方", "abc", ""};
  std::vector<GeneratedEstimate> estimates;
  for (std::size_t i = 0; i < count; ++i) {
    QuickEstimateInput input;
    input.grade = std::string(kDecorationGrades[i % kDecorationGrades.size()]);
    for (std::int32_t* n : {&input.bedrooms, &input.halls, &input.kitchens, &input.bathrooms, &input.balconies}) {
      *n = pick(0, 2) == 0 ? 0 : pick(1, 9);
    }
    if (pick(0, 9) == 0) {
      input.area = typedAreas[static_cast<std::size_t>(pick(0, static_cast<int>(typedAreas.size()) - 1))];
    } else {
      char area[32];
      std::snprintf(area, sizeof area, "%.6g", std::pow(10.0, std::uniform_real_distribution<double>(-6, 6)(random)));
      input.area = area;
    }
    EstimatePrices prices = EstimatePrices::defaults();
    if (pick(0, 1) == 0) {
      for (const auto& entry : estimatePriceDefaults()) {
        if (pick(0, 3) == 0) prices.set(entry.key, pick(-3, 3) == 0 ? 0 : pick(-1000000, 1000000));
      }
    }
    QuickEstimator estimator;
    estimator.run(input, prices);
    estimates.push_back({input, resultWindowText(estimator.resultText())});
  }
  return estimates;
}

std::string described(const QuickEstimateInput& in) {
  return in.grade + " " + std::to_string(in.bedrooms) + std::to_string(in.halls) + std::to_string(in.kitchens) +
         std::to_string(in.bathrooms) + std::to_string(in.balconies) + " area \"" + in.area + "\"";
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  lines.push_back(text.substr(start));
  return lines;
}

std::string joinedLines(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) text += (i == 0 ? "" : "\r\n") + lines[i];
  return text;
}

TEST(EstimatorText, EveryTextTheEstimatorWritesIsRecognised) {
  bool exponentForm = false;
  for (const auto& estimate : generatedEstimates(2000)) {
    EXPECT_TRUE(isEstimatorResult(estimate.text)) << described(estimate.input);
    exponentForm = exponentForm || estimate.text.find("e+0") != std::string::npos;
  }
  EXPECT_TRUE(exponentForm) << "no input reached the exponent form";
}

TEST(EstimatorText, ATextWithALineAddedRemovedOrAlteredIsNot) {
  std::mt19937 random(7);
  auto below = [&random](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
  const std::vector<std::string> alien = {"请点击 http://example.com 领取奖品", "", "卧室面积为：5平方米",
                                          "\x01", "客餐厅铺地板半包装修的价格为：1元"};
  for (const auto& estimate : generatedEstimates(300)) {
    const std::vector<std::string> lines = splitLines(estimate.text);
    // The headline, the four prices, the note and the closing advice are in every text of a
    // grade, so taking one of them away can give no other shape.
    const std::vector<std::size_t> alwaysThere = {0, 2, 3, 5, 6, 8, lines.size() - 1};

    std::vector<std::string> added = lines;
    added.insert(added.begin() + static_cast<std::ptrdiff_t>(below(lines.size() + 1)), alien[below(alien.size())]);
    std::vector<std::string> removed = lines;
    removed.erase(removed.begin() + static_cast<std::ptrdiff_t>(alwaysThere[below(alwaysThere.size())]));
    std::vector<std::string> relabelled = lines;
    std::string& line = relabelled[alwaysThere[below(alwaysThere.size())]];
    line.insert(below(line.size() + 1), "免");
    std::vector<std::string> unreadable = lines;  // a figure that is no number
    std::string& price = unreadable[alwaysThere[1 + below(4)]];
    price.replace(price.find("：") + 3, price.find("元") - price.find("：") - 3, below(2) == 0 ? "inf" : "1,234");

    for (const auto& changed : {added, removed, relabelled, unreadable}) {
      EXPECT_FALSE(isEstimatorResult(joinedLines(changed))) << described(estimate.input) << "\n" << joinedLines(changed);
    }
  }
  EXPECT_FALSE(isEstimatorResult(""));
}

}  // namespace
}  // namespace decor
