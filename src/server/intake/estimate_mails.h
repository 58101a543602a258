#pragma once
// The two mails an accepted estimate produces: the customer's copy of the result, and the
// lead for the sales mailbox with everything staff need to call back.
#include <cstdint>
#include <optional>
#include <string>

#include "server/mail/mail_config.h"
#include "server/storage/estimate_store.h"

namespace decor::server {

// The result to the customer's own address, signed with the company's hotline and website.
std::string customerMail(const MailSettings& mail, const StoredEstimate& estimate, std::int64_t estimateId,
                         std::int64_t nowMs);

// What sales read of an estimate; the customer's fields arrive unverified.
struct Lead {
  const StoredEstimate& estimate;
  std::int64_t estimateId;
  bool verified;                        // the text is one the estimator wrote
  bool replyToCustomer;                 // the customer's address may be replied to
  std::optional<std::string> province;  // of the phone number, when known
  std::string customerMailState;        // what became of the customer's mail
};
std::string salesMail(const MailSettings& mail, const Lead& lead, std::int64_t nowMs);

}  // namespace decor::server
