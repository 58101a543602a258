#include "server/intake/estimate_intake.h"

#include <algorithm>

#include "contact/contact_rules.h"
#include "estimate/estimator_text.h"
#include "server/clock/time_text.h"
#include "server/intake/double_sends.h"
#include "server/intake/estimate_mails.h"
#include "server/mail/mail_outbox.h"

namespace decor::server {
namespace {

constexpr std::int64_t kDayMs = 24 * 60 * 60 * 1000;

OutboxEntry pendingMessage(std::int64_t estimateId, const char* kind, const std::string& recipient, std::int64_t nowMs) {
  OutboxEntry entry;
  entry.estimateId = estimateId;
  entry.kind = kind;
  entry.recipient = recipient;
  entry.state = "pending";
  entry.queuedMs = entry.nextMs = nowMs;
  return entry;
}

}  // namespace

EstimateIntake::EstimateIntake(EstimateStore& store, std::optional<MailSettings> mail, NumberLocations locations,
                               std::function<void()> queued)
    : store_(store), mail_(std::move(mail)), locations_(std::move(locations)), queued_(std::move(queued)) {}

bool EstimateIntake::accept(const StoredEstimate& estimate) {
  bool queued = false;
  const bool kept = store_.transaction([&](Database& db) {
    const std::int64_t now = nowMilliseconds();
    if (isRepeat(db, estimate, now - std::chrono::milliseconds(kRepeatWindow).count())) return true;
    const std::int64_t id = EstimateStore::insertEstimate(db, estimate);
    if (id < 0 || !noteAccepted(db, id, estimate, now)) return false;
    if (!mail_) return true;
    queued = queueMails(db, id, estimate, now);
    return queued;
  });
  if (kept && queued && queued_) queued_();
  return kept;
}

bool EstimateIntake::queueMails(Database& db, std::int64_t estimateId, const StoredEstimate& estimate,
                                std::int64_t nowMs) {
  const MailSettings& mail = *mail_;
  const bool verified = isEstimatorResult(estimate.result);
  const bool plainAddress = acceptableEmail(estimate.email, EmailStrictness::MailRecipient);

  // Only the stored address itself, checked, ever becomes the customer mail's recipient.
  OutboxEntry customer = pendingMessage(estimateId, kCustomerMail, estimate.email, nowMs);
  if (!plainAddress) {
    customer.state = "withheld";
    customer.lastReply = "邮箱地址无效";
  } else if (!verified) {
    customer.state = "withheld";
    customer.lastReply = "报价内容未验证";
  } else if (customerMailsSince(db, estimate.email, nowMs - kDayMs) >= kCustomerMailsPerDay) {
    customer.state = "withheld";
    customer.lastReply = "该邮箱 24 小时内已收到 " + std::to_string(kCustomerMailsPerDay) + " 封报价邮件";
  } else {
    customer.message = customerMail(mail, estimate, estimateId, nowMs);
  }
  if (!queueMessage(db, customer)) return false;

  OutboxEntry sales = pendingMessage(estimateId, kSalesMail, mail.sales, nowMs);
  sales.message = salesMail(
      mail,
      {.estimate = estimate,
       .estimateId = estimateId,
       .verified = verified,
       .replyToCustomer = plainAddress,
       .province = locations_.provinceOf(estimate.phone.substr(0, std::min<std::size_t>(7, estimate.phone.size()))),
       .customerMailState = customer.state == "pending" ? std::string("已排队发送") : "未发送（" + customer.lastReply + "）"},
      nowMs);
  return queueMessage(db, sales);
}

}  // namespace decor::server
