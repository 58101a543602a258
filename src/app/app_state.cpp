#include "app/app_state.h"

namespace decor {

void AppState::setPackageScope(std::string scope) {
  const std::lock_guard lock(scopeMutex_);
  packageScope_ = std::move(scope);
}

std::string AppState::packageScope() const {
  const std::lock_guard lock(scopeMutex_);
  return packageScope_;
}

std::string AppState::runQuickEstimate(const QuickEstimateInput& input) {
  const std::lock_guard lock(estimateMutex_);
  estimator_.run(input, prices.estimatePrices());
  return estimator_.resultText();
}

}  // namespace decor
