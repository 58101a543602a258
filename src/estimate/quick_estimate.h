#pragma once
// The quick estimate: from the room counts, the floor area and the decoration grade, four
// package prices and the text that shows them with a breakdown.
#include <cstdint>
#include <string>
#include <string_view>

#include "domain/vocabulary.h"
#include "pricing/price_table.h"

namespace decor {

struct QuickEstimateInput {
  std::int32_t bedrooms = 3;
  std::int32_t halls = 1;
  std::int32_t kitchens = 1;
  std::int32_t bathrooms = 1;
  std::int32_t balconies = 2;
  std::string area = "100";           // as typed; read with the text-to-number rule
  std::string grade = kGradeComfort;  // compared exactly with the five grade texts
};

// The figures of the last run, each as stored (single precision).
struct QuickEstimateFigures {
  float K = 0, B = 0, Y = 0, R = 0, P = 0, H = 0;
  float T1 = 0, F = 0, T2 = 0, T3 = 0, T4 = 0;
};

// Holds what persists between runs: the figures, the details text and the result text.
// A grade text that matches none of the five runs no list and leaves the result text as
// the previous run left it.
//
// A flat that cannot be laid out (no bedroom and no hall, a remaining area below 0, an area
// beyond the single-precision range) would otherwise put inf or nan into a customer's price:
// a figure or an amount that is not a finite number counts as 0 instead.
class QuickEstimator {
 public:
  void run(const QuickEstimateInput& input, const EstimatePrices& prices);

  const QuickEstimateFigures& figures() const { return figures_; }
  const std::string& detailsText() const { return details_; }
  const std::string& resultText() const { return result_; }

 private:
  QuickEstimateFigures figures_;
  std::string details_;
  std::string result_;
};

// The largest floor area taken from a customer: no flat is larger, and beyond it the figures
// would leave the range the result can print.
inline constexpr double kMaxEstimateArea = 1000000;

// Whether an area text reads (text-to-number rule) as 0 to kMaxEstimateArea square metres.
bool isAcceptedArea(std::string_view areaText);

// What the result window shows: the result text and the closing advice line.
std::string resultWindowText(const std::string& resultText);

}  // namespace decor
