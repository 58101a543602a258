#include "server/mail_outbox.h"

#include <sqlite3.h>

#include <chrono>
#include <ctime>
#include <map>

namespace decor::server {
namespace {

constexpr const char* kOutboxSchema =
    "CREATE TABLE IF NOT EXISTS outbox ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT, quote_id INTEGER NOT NULL, kind TEXT NOT NULL,"
    " recipient TEXT NOT NULL, state TEXT NOT NULL, attempts INTEGER NOT NULL DEFAULT 0,"
    " queued_ms INTEGER NOT NULL, next_ms INTEGER NOT NULL, last_reply TEXT NOT NULL DEFAULT '',"
    " message TEXT NOT NULL);"
    "CREATE INDEX IF NOT EXISTS outbox_due ON outbox (state, next_ms);"
    "CREATE INDEX IF NOT EXISTS outbox_quote ON outbox (quote_id);"
    "CREATE INDEX IF NOT EXISTS outbox_customer ON outbox (recipient, queued_ms) WHERE kind = 'customer';";

constexpr const char* kEntryColumns =
    "o.id, o.quote_id, o.kind, o.recipient, o.state, o.attempts, o.queued_ms, o.next_ms, o.last_reply, o.message,"
    " q.received FROM outbox o JOIN quotes q ON q.id = o.quote_id";

class Query {
 public:
  Query(sqlite3* db, const std::string& sql) { sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt_, nullptr); }
  ~Query() { sqlite3_finalize(stmt_); }
  Query(const Query&) = delete;
  Query& operator=(const Query&) = delete;

  bool ok() const { return stmt_ != nullptr; }
  Query& bind(int index, const std::string& text) {
    sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    return *this;
  }
  Query& bind(int index, std::int64_t value) {
    sqlite3_bind_int64(stmt_, index, value);
    return *this;
  }
  int step() { return stmt_ ? sqlite3_step(stmt_) : SQLITE_ERROR; }
  bool done() { return step() == SQLITE_DONE; }
  std::string text(int column) const {
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return bytes ? std::string(bytes, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column))) : std::string();
  }
  std::int64_t integer(int column) const { return sqlite3_column_int64(stmt_, column); }

  OutboxEntry entry() const {
    return {integer(0), integer(1), text(2), text(3), text(4), static_cast<int>(integer(5)),
            integer(6), integer(7), text(8), text(9), text(10)};
  }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

std::string stateText(const OutboxEntry& e) {
  if (e.state == "sent") return "已发送";
  if (e.state == "failed") return "发送失败";
  if (e.state == "withheld") return "未发送（" + e.lastReply + "）";
  return e.attempts == 0 ? "待发送" : "待发送（已尝试 " + std::to_string(e.attempts) + " 次）";
}

}  // namespace

std::int64_t nowMilliseconds() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

std::string timeText(std::int64_t ms) {
  const std::time_t time = static_cast<std::time_t>(ms / 1000);
  std::tm local{};
  localtime_r(&time, &local);
  char out[32];
  std::strftime(out, sizeof out, "%Y-%m-%d %H:%M:%S", &local);
  return out;
}

bool prepareOutbox(EstimateStore& store) {
  return store.transaction(
      [](sqlite3* db) { return sqlite3_exec(db, kOutboxSchema, nullptr, nullptr, nullptr) == SQLITE_OK; });
}

bool queueMessage(sqlite3* db, const OutboxEntry& e) {
  Query insert(db,
               "INSERT INTO outbox (quote_id, kind, recipient, state, queued_ms, next_ms, last_reply, message)"
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

int customerMailsSince(sqlite3* db, const std::string& address, std::int64_t sinceMs) {
  Query count(db,
              "SELECT COUNT(*) FROM outbox WHERE kind = 'customer' AND state <> 'withheld'"
              " AND lower(recipient) = lower(?1) AND queued_ms >= ?2;");
  count.bind(1, address).bind(2, sinceMs);
  return count.step() == SQLITE_ROW ? static_cast<int>(count.integer(0)) : 0;
}

std::optional<OutboxEntry> nextPending(EstimateStore& store) {
  std::optional<OutboxEntry> next;
  store.transaction(
      [&next](sqlite3* db) {
        Query select(db, std::string("SELECT ") + kEntryColumns +
                             " WHERE o.state = 'pending' ORDER BY o.next_ms, o.id LIMIT 1;");
        if (select.step() == SQLITE_ROW) next = select.entry();
        return true;
      },
      true);
  return next;
}

bool recordTry(EstimateStore& store, const OutboxEntry& e, const SendOutcome& outcome, std::int64_t nowMs,
               const RetryTiming& retry) {
  const int attempts = e.attempts + 1;
  std::string state = "pending";
  std::string reply = outcome.reply;
  std::int64_t next = nowMs;
  if (outcome.kind == SendOutcome::Kind::Sent) {
    state = "sent";
  } else if (outcome.kind == SendOutcome::Kind::Permanent) {
    state = "failed";
  } else {
    // first × 2^(attempts-1), computed without overflow, at most `longest`.
    std::int64_t wait = retry.first.count();
    for (int i = 1; i < attempts && wait < retry.longest.count(); ++i) wait *= 2;
    wait = std::min<std::int64_t>(wait, retry.longest.count());
    next = nowMs + wait;
    if (next - e.queuedMs > retry.giveUp.count()) {
      state = "failed";
      reply = "已放弃：排队后长时间未能送出；最后一次：" + outcome.reply;
    }
  }
  return store.transaction([&](sqlite3* db) {
    Query update(db, "UPDATE outbox SET state = ?1, attempts = ?2, next_ms = ?3, last_reply = ?4 WHERE id = ?5;");
    return update.bind(1, state).bind(2, std::int64_t{attempts}).bind(3, next).bind(4, reply).bind(5, e.id).done();
  });
}

std::vector<OutboxEntry> undelivered(EstimateStore& store) {
  std::vector<OutboxEntry> entries;
  store.transaction(
      [&entries](sqlite3* db) {
        Query select(db, std::string("SELECT ") + kEntryColumns +
                             " WHERE o.state IN ('pending', 'failed') ORDER BY o.id;");
        while (select.step() == SQLITE_ROW) entries.push_back(select.entry());
        return true;
      },
      true);
  return entries;
}

bool retryFailed(EstimateStore& store, std::int64_t id, std::int64_t nowMs) {
  bool changed = false;
  store.transaction([&](sqlite3* db) {
    Query update(db,
                 "UPDATE outbox SET state = 'pending', attempts = 0, queued_ms = ?1, next_ms = ?1"
                 " WHERE id = ?2 AND state = 'failed';");
    if (!update.bind(1, nowMs).bind(2, id).done()) return false;
    changed = sqlite3_changes(db) == 1;
    return true;
  });
  return changed;
}

InboxWithDelivery inboxWithDelivery(EstimateStore& store) {
  InboxWithDelivery inbox;
  store.transaction(
      [&inbox](sqlite3* db) {
        std::map<std::int64_t, std::map<std::string, OutboxEntry>> messages;
        Query mails(db, std::string("SELECT ") + kEntryColumns + ";");
        while (mails.step() == SQLITE_ROW) {
          OutboxEntry e = mails.entry();
          messages[e.estimateId][e.kind] = std::move(e);
        }
        Query estimates(db, "SELECT id, received, email, phone, result FROM quotes ORDER BY id DESC;");
        while (estimates.step() == SQLITE_ROW) {
          inbox.estimates.push_back({estimates.text(1), estimates.text(2), estimates.text(3), estimates.text(4)});
          const auto found = messages.find(estimates.integer(0));
          if (found == messages.end()) {
            inbox.delivery.push_back("未投递（邮件投递未开启）");
            continue;
          }
          std::string state;
          for (const auto& [kind, label] : {std::pair{kCustomerMail, "客户邮件"}, std::pair{kSalesMail, "销售邮件"}}) {
            const auto e = found->second.find(kind);
            if (e == found->second.end()) continue;
            if (!state.empty()) state += "；";
            state += std::string(label) + stateText(e->second);
          }
          inbox.delivery.push_back(state);
        }
        return true;
      },
      true);
  return inbox;
}

std::string outboxText(const std::vector<OutboxEntry>& entries) {
  if (entries.empty()) return "发件箱中没有待发送或发送失败的邮件。\n";
  std::string text;
  for (const OutboxEntry& e : entries) {
    if (!text.empty()) text += '\n';
    text += "编号：" + std::to_string(e.id) + "\n状态：" + stateText(e) + "\n类型：" +
            (e.kind == kCustomerMail ? "客户邮件" : "销售邮件") + "\n收件人：" + e.recipient +
            "\n报价时间：" + e.estimateReceived + "\n已尝试：" + std::to_string(e.attempts) + " 次\n";
    if (e.state == "pending") text += "下次尝试：" + timeText(e.nextMs) + "\n";
    text += "最后回复：" + (e.lastReply.empty() ? std::string("（无）") : e.lastReply) + "\n";
  }
  return text;
}

}  // namespace decor::server
