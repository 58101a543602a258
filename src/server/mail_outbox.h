#pragma once
// The outbox: the messages each accepted estimate produced, in the estimate database itself, with
// their delivery state. Every change is committed before the worker goes on, so a server
// that restarts resumes where it stopped.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "server/mail_config.h"
#include "server/estimate_store.h"

struct sqlite3;

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

// Creates the outbox tables when missing. Call once after opening the store.
bool prepareOutbox(EstimateStore& store);

// Inside an estimate's transaction.
bool queueMessage(sqlite3* db, const OutboxEntry& entry);
int customerMailsSince(sqlite3* db, const std::string& address, std::int64_t sinceMs);

// The pending message due first, and when it is due; nothing when none is pending.
std::optional<OutboxEntry> nextPending(EstimateStore& store);

// Writes what a try gave: sent, failed at once (permanent), or failed for now and tried
// again later, until the message has waited `retry.giveUp`.
bool recordTry(EstimateStore& store, const OutboxEntry& entry, const SendOutcome& outcome, std::int64_t nowMs,
               const RetryTiming& retry);

// Pending and failed messages, oldest first.
std::vector<OutboxEntry> undelivered(EstimateStore& store);

// A failed message queued again from now on; false when `id` is no failed message.
bool retryFailed(EstimateStore& store, std::int64_t id, std::int64_t nowMs);

// The estimates newest first with the delivery state of their messages, read together.
struct InboxWithDelivery {
  std::vector<StoredEstimate> estimates;
  std::vector<std::string> delivery;
};
InboxWithDelivery inboxWithDelivery(EstimateStore& store);

// Staff listings.
std::string outboxText(const std::vector<OutboxEntry>& entries);
std::string timeText(std::int64_t ms);

std::int64_t nowMilliseconds();

}  // namespace decor::server
