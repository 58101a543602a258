#pragma once
// Accepting an estimate: a repeat of one accepted within ten minutes is acknowledged again but
// not stored twice; a new one is stored together with its mails in one transaction, so that
// the acknowledgement means "kept, and will be delivered".
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "server/mail/mail_config.h"
#include "server/standins/number_locations.h"
#include "server/storage/database.h"
#include "server/storage/estimate_store.h"

namespace decor::server {

inline constexpr std::chrono::minutes kRepeatWindow{10};
inline constexpr int kCustomerMailsPerDay = 3;

class EstimateIntake {
 public:
  // Without `mail` estimates are stored as before and no message is queued. `queued` is told
  // after each commit that queued messages.
  EstimateIntake(EstimateStore& store, std::optional<MailSettings> mail, NumberLocations locations,
                 std::function<void()> queued = {});

  // True when the estimate is kept (now or by an identical earlier send). Any thread.
  bool accept(const StoredEstimate& estimate);

 private:
  bool queueMails(Database& db, std::int64_t estimateId, const StoredEstimate& estimate, std::int64_t nowMs);

  EstimateStore& store_;
  std::optional<MailSettings> mail_;
  NumberLocations locations_;
  std::function<void()> queued_;
};

}  // namespace decor::server
