#pragma once
// The outbox: the messages each accepted estimate produced, in the estimate database itself, with
// their delivery state. Every change is committed before the worker goes on, so a server
// that restarts resumes where it stopped.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "server/mail/mail_config.h"
#include "server/storage/database.h"
#include "server/storage/estimate_store.h"

namespace decor::server {

inline constexpr char kCustomerMail[] = "customer";
inline constexpr char kSalesMail[] = "sales";

struct OutboxEntry {
  std::int64_t id = 0;
  std::int64_t estimateId = 0;
  std::string kind;  // kCustomerMail or kSalesMail
  std::string recipient;
  std::string state;  // pending, sent, failed, or withheld (never sent; the reason in lastReply)
  int attempts = 0;
  std::int64_t queuedMs = 0;
  std::int64_t nextMs = 0;
  std::string lastReply;
  std::string message;        // the whole MIME text
  std::string estimateReceived;  // the estimate's time stamp, for listings
};

// Inside an estimate's transaction.
bool queueMessage(Database& db, const OutboxEntry& entry);
int customerMailsSince(Database& db, const std::string& address, std::int64_t sinceMs);

// The pending message due first, and when it is due; nothing when none is pending.
std::optional<OutboxEntry> nextPending(EstimateStore& store);

// Before a send: the message is put off by the interval a temporary failure would give it, so
// that a send whose outcome is then lost (disk full, kill -9) is not repeated before that
// interval, also after a restart. False when it could not be written: then nothing is sent.
bool claimTry(EstimateStore& store, const OutboxEntry& entry, std::int64_t nowMs, const RetryTiming& retry);

// Writes what a try gave: sent, failed at once (permanent), or failed for now and tried
// again later, until the message has waited `retry.giveUp`.
// `written`, when given, receives the state and reply written.
bool recordTry(EstimateStore& store, const OutboxEntry& entry, const SendOutcome& outcome, std::int64_t nowMs,
               const RetryTiming& retry, OutboxEntry* written = nullptr);

// When the oldest pending message was queued, in `queuedMs` (nothing when none is pending);
// false when the outbox cannot be read.
bool oldestPending(EstimateStore& store, std::optional<std::int64_t>& queuedMs);

// Pending and failed messages, oldest first; nothing when the outbox cannot be read.
std::optional<std::vector<OutboxEntry>> undelivered(EstimateStore& store);

// A failed message queued again from now on; false when `id` is no failed message.
bool retryFailed(EstimateStore& store, std::int64_t id, std::int64_t nowMs);

// An estimate with the messages it produced (none while delivery was off).
struct EstimateWithMessages {
  StoredEstimate estimate;
  std::vector<OutboxEntry> messages;
};
// Every estimate newest first with its messages, read together in one snapshot; nothing when
// the database cannot be read.
std::optional<std::vector<EstimateWithMessages>> estimatesWithMessages(EstimateStore& store);

}  // namespace decor::server
