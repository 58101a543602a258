#include "app/app_state.h"

namespace decor {

std::string AppState::runQuickEstimate(const QuickEstimateInput& input) {
  const std::lock_guard lock(estimateMutex_);
  estimator_.run(input, prices.estimatePrices());
  return estimator_.resultText();
}

}  // namespace decor
