// The quick estimate on any counts, area text and grade: no crash, no "inf" or "nan" in the
// result, and the result text of a known grade ends with the details.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "estimate/quick_estimate.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  decor::QuickEstimateInput flat;
  flat.bedrooms = input.ConsumeIntegral<std::int32_t>();
  flat.halls = input.ConsumeIntegral<std::int32_t>();
  flat.kitchens = input.ConsumeIntegral<std::int32_t>();
  flat.bathrooms = input.ConsumeIntegral<std::int32_t>();
  flat.balconies = input.ConsumeIntegral<std::int32_t>();
  const std::size_t grade = input.ConsumeIntegralInRange<std::size_t>(0, decor::kDecorationGrades.size());
  flat.grade = grade < decor::kDecorationGrades.size() ? decor::kDecorationGrades[grade] : "其他";
  flat.area = input.ConsumeRemainingBytesAsString();

  static const decor::EstimatePrices prices = decor::EstimatePrices::defaults();
  decor::QuickEstimator estimator;
  estimator.run(flat, prices);
  FUZZ_CHECK(decor::fuzz::showsNoInfOrNan(estimator.resultText()));
  if (grade < decor::kDecorationGrades.size()) {
    FUZZ_CHECK(estimator.resultText().ends_with(estimator.detailsText()));
  } else {
    FUZZ_CHECK(estimator.resultText().empty());  // an unknown grade keeps the (empty) previous result
  }
  const decor::QuickEstimateFigures& v = estimator.figures();
  for (const float figure : {v.K, v.B, v.Y, v.R, v.P, v.H, v.T1, v.F, v.T2, v.T3, v.T4}) FUZZ_CHECK(std::isfinite(figure));
  return 0;
}
