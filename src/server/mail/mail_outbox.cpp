#include "server/mail/mail_outbox.h"

#include <algorithm>
#include <map>

namespace decor::server {
namespace {

constexpr const char* kEntryColumns =
    "o.id, o.estimate_id, o.kind, o.recipient, o.state, o.attempts, o.queued_ms, o.next_ms, o.last_reply, o.message,"
    " e.received FROM outbox o JOIN estimates e ON e.id = o.estimate_id";

OutboxEntry entryOf(const Statement& row) {
  return {row.integer(0), row.integer(1), row.text(2),  row.text(3), row.text(4), static_cast<int>(row.integer(5)),
          row.integer(6), row.integer(7), row.text(8), row.text(9), row.text(10)};
}

// The messages a condition selects, in one read transaction.
// Nothing when the outbox cannot be read (then the store's lastError() says why).
std::optional<std::vector<OutboxEntry>> entriesWhere(EstimateStore& store, std::string_view condition) {
  std::vector<OutboxEntry> entries;
  const bool read = store.transaction(
      [&entries, condition](Database& db) {
        Statement select(db, std::string("SELECT ") + kEntryColumns + " WHERE " + std::string(condition) + ";");
        Statement::Step step;
        while ((step = select.step()) == Statement::Step::Row) entries.push_back(entryOf(select));
        return step == Statement::Step::Done;
      },
      true);
  if (!read) return std::nullopt;
  return entries;
}

}  // namespace

bool queueMessage(Database& db, const OutboxEntry& e) {
  Statement insert(db,
               "INSERT INTO outbox (estimate_id, kind, recipient, state, queued_ms, next_ms, last_reply, message)"
               " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8);");
  return insert.bind(1, e.estimateId)
      .bind(2, e.kind)
      .bind(3, e.recipient)
      .bind(4, e.state)
      .bind(5, e.queuedMs)
      .bind(6, e.nextMs)
      .bind(7, e.lastReply)
      .bind(8, e.message)
      .done();
}

int customerMailsSince(Database& db, const std::string& address, std::int64_t sinceMs) {
  Statement count(db,
              "SELECT COUNT(*) FROM outbox WHERE kind = 'customer' AND state <> 'withheld'"
              " AND lower(recipient) = lower(?1) AND queued_ms >= ?2;");
  count.bind(1, address).bind(2, sinceMs);
  return count.row() ? static_cast<int>(count.integer(0)) : 0;
}

std::optional<OutboxEntry> nextPending(EstimateStore& store) {
  auto entries = entriesWhere(store, "o.state = 'pending' ORDER BY o.next_ms, o.id LIMIT 1");
  if (!entries || entries->empty()) return std::nullopt;
  return std::move(entries->front());
}

namespace {

// The wait after the try numbered `attempts`: first × 2^(attempts-1), computed without
// overflow, at most `longest`.
std::int64_t retryWait(int attempts, const RetryTiming& retry) {
  std::int64_t wait = retry.first.count();
  for (int i = 1; i < attempts && wait < retry.longest.count(); ++i) wait *= 2;
  return std::min<std::int64_t>(wait, retry.longest.count());
}

}  // namespace

bool claimTry(EstimateStore& store, const OutboxEntry& e, std::int64_t nowMs, const RetryTiming& retry) {
  const std::int64_t next = nowMs + retryWait(e.attempts + 1, retry);
  return store.transaction([&](Database& db) {
    Statement update(db, "UPDATE outbox SET next_ms = ?1 WHERE id = ?2 AND state = 'pending';");
    return update.bind(1, next).bind(2, e.id).done();
  });
}

bool recordTry(EstimateStore& store, const OutboxEntry& e, const SendOutcome& outcome, std::int64_t nowMs,
               const RetryTiming& retry, OutboxEntry* written) {
  const int attempts = e.attempts + 1;
  std::string state = "pending";
  std::string reply = outcome.reply;
  std::int64_t next = nowMs;
  if (outcome.kind == SendOutcome::Kind::Sent) {
    state = "sent";
  } else if (outcome.kind == SendOutcome::Kind::Permanent) {
    state = "failed";
  } else {
    next = nowMs + retryWait(attempts, retry);
    if (next - e.queuedMs > retry.giveUp.count()) {
      state = "failed";
      reply = "已放弃：排队后长时间未能送出；最后一次：" + outcome.reply;
    }
  }
  const bool done = store.transaction([&](Database& db) {
    Statement update(db, "UPDATE outbox SET state = ?1, attempts = ?2, next_ms = ?3, last_reply = ?4 WHERE id = ?5;");
    return update.bind(1, state).bind(2, std::int64_t{attempts}).bind(3, next).bind(4, reply).bind(5, e.id).done();
  });
  if (done && written) {
    *written = e;
    written->state = state;
    written->attempts = attempts;
    written->nextMs = next;
    written->lastReply = reply;
  }
  return done;
}

bool oldestPending(EstimateStore& store, std::optional<std::int64_t>& queuedMs) {
  queuedMs.reset();
  return store.transaction(
      [&queuedMs](Database& db) {
        Statement select(db, "SELECT min(queued_ms) FROM outbox WHERE state = 'pending' AND queued_ms IS NOT NULL;");
        if (!select.row()) return false;
        if (select.text(0) != "") queuedMs = select.integer(0);
        return true;
      },
      true);
}

std::optional<std::vector<OutboxEntry>> undelivered(EstimateStore& store) {
  return entriesWhere(store, "o.state IN ('pending', 'failed') ORDER BY o.id");
}

bool retryFailed(EstimateStore& store, std::int64_t id, std::int64_t nowMs) {
  bool changed = false;
  store.transaction([&](Database& db) {
    Statement update(db,
                 "UPDATE outbox SET state = 'pending', attempts = 0, queued_ms = ?1, next_ms = ?1"
                 " WHERE id = ?2 AND state = 'failed';");
    if (!update.bind(1, nowMs).bind(2, id).done()) return false;
    changed = db.changes() == 1;
    return true;
  });
  return changed;
}

std::optional<std::vector<EstimateWithMessages>> estimatesWithMessages(EstimateStore& store) {
  std::vector<EstimateWithMessages> estimates;
  const bool read = store.transaction(
      [&estimates](Database& db) {
        std::map<std::int64_t, std::vector<OutboxEntry>> messages;
        Statement mails(db, std::string("SELECT ") + kEntryColumns + " ORDER BY o.id;");
        Statement::Step step;
        while ((step = mails.step()) == Statement::Step::Row) {
          OutboxEntry e = entryOf(mails);
          messages[e.estimateId].push_back(std::move(e));
        }
        if (step != Statement::Step::Done) return false;
        Statement select(db, "SELECT id, received, email, phone, result FROM estimates ORDER BY id DESC;");
        while ((step = select.step()) == Statement::Step::Row) {
          const auto found = messages.find(select.integer(0));
          estimates.push_back({{select.text(1), select.text(2), select.text(3), select.text(4)},
                               found == messages.end() ? std::vector<OutboxEntry>{} : std::move(found->second)});
        }
        return step == Statement::Step::Done;
      },
      true);
  if (!read) return std::nullopt;
  return estimates;
}

}  // namespace decor::server
