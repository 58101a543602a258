#pragma once
// The state the program shares between its windows and worker threads for its whole run.
// Free of Qt: workers keep it alive through a shared_ptr, so a worker that is still fetching
// when the main window closes never writes into freed memory.
#include <atomic>
#include <mutex>
#include <string>

#include "estimate/quick_estimate.h"
#include "pricing/price_table.h"

namespace decor {

class AppState {
 public:
  // Thread-safe on its own (see PriceTable).
  PriceTable prices;

  // Whether the quick-estimate result on show has been sent; cleared when a result window
  // opens, set by a successful send, read by the result window's close question.
  void setEstimateSent(bool sent) { estimateSent_.store(sent); }
  bool estimateSent() const { return estimateSent_.load(); }

  // Runs the quick estimate on the shared calculator (its figures persist between runs) and
  // returns the result text. One run at a time.
  std::string runQuickEstimate(const QuickEstimateInput& input);

 private:
  std::atomic<bool> estimateSent_{false};
  std::mutex estimateMutex_;
  QuickEstimator estimator_;
};

}  // namespace decor
