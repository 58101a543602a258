// One full quick estimate: the five grades of the main window's default flat.
#include <benchmark/benchmark.h>

#include "estimate/quick_estimate.h"

namespace {

void BM_QuickEstimateAllGrades(benchmark::State& state) {
  const decor::EstimatePrices prices = decor::EstimatePrices::defaults();
  decor::QuickEstimator estimator;
  decor::QuickEstimateInput input;
  for (auto _ : state) {
    for (const std::string_view grade : decor::kDecorationGrades) {
      input.grade = grade;
      estimator.run(input, prices);
      benchmark::DoNotOptimize(estimator.resultText().data());
    }
  }
}
BENCHMARK(BM_QuickEstimateAllGrades);

}  // namespace
