#include "server/storage/schema.h"

#include <array>

namespace decor::server {
namespace {

// Step n takes a file from version n to n + 1. An earlier server created each table when it
// first needed it, so the first step creates whatever of its layout is missing.
constexpr std::array<const char*, kSchemaVersion> kSteps = {
    "CREATE TABLE IF NOT EXISTS quotes ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " received TEXT NOT NULL, email TEXT NOT NULL, phone TEXT NOT NULL, result TEXT NOT NULL);"
    "CREATE TABLE IF NOT EXISTS counters (name TEXT PRIMARY KEY, value INTEGER NOT NULL);"
    "CREATE TABLE IF NOT EXISTS outbox ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT, quote_id INTEGER NOT NULL, kind TEXT NOT NULL,"
    " recipient TEXT NOT NULL, state TEXT NOT NULL, attempts INTEGER NOT NULL DEFAULT 0,"
    " queued_ms INTEGER NOT NULL, next_ms INTEGER NOT NULL, last_reply TEXT NOT NULL DEFAULT '',"
    " message TEXT NOT NULL);"
    "CREATE INDEX IF NOT EXISTS outbox_due ON outbox (state, next_ms);"
    "CREATE INDEX IF NOT EXISTS outbox_quote ON outbox (quote_id);"
    "CREATE INDEX IF NOT EXISTS outbox_customer ON outbox (recipient, queued_ms) WHERE kind = 'customer';"
    "CREATE TABLE IF NOT EXISTS quote_intake (quote_id INTEGER PRIMARY KEY, accepted_ms INTEGER NOT NULL);"
    "CREATE INDEX IF NOT EXISTS quote_intake_time ON quote_intake (accepted_ms);",

    // SQLite renames a column inside the indexes that use it; an index's own name needs a
    // new index. AUTOINCREMENT's counters follow the table to its new name.
    "ALTER TABLE quotes RENAME TO estimates;"
    "ALTER TABLE outbox RENAME COLUMN quote_id TO estimate_id;"
    "DROP INDEX outbox_quote;"
    "CREATE INDEX outbox_estimate ON outbox (estimate_id);"
    "ALTER TABLE quote_intake RENAME TO estimate_intake;"
    "ALTER TABLE estimate_intake RENAME COLUMN quote_id TO estimate_id;"
    "DROP INDEX quote_intake_time;"
    "CREATE INDEX estimate_intake_time ON estimate_intake (accepted_ms);",

    // The double-send check then reads only the few rows of one fingerprint, however many
    // estimates arrived lately. An intake row whose estimate is gone keeps key 0: nothing
    // can repeat it.
    "ALTER TABLE estimate_intake ADD COLUMN fingerprint INTEGER NOT NULL DEFAULT 0;"
    "UPDATE estimate_intake SET fingerprint = COALESCE((SELECT estimate_fingerprint(e.email, e.phone, e.result)"
    " FROM estimates e WHERE e.id = estimate_intake.estimate_id), 0);"
    "CREATE INDEX estimate_intake_fingerprint ON estimate_intake (fingerprint, accepted_ms);",
};

}  // namespace

int schemaVersion(Database& db) {
  Statement version(db, "PRAGMA user_version;");
  return version.row() ? static_cast<int>(version.integer(0)) : -1;
}

bool migrateSchema(Database& db, std::string& error) {
  // Readers open the file too: the common case, a current file, takes no write lock.
  if (schemaVersion(db) == kSchemaVersion) return true;
  Transaction transaction(db, Transaction::Kind::Write);
  // Read again under the lock: another process may have migrated it meanwhile.
  const int from = transaction.began() ? schemaVersion(db) : -1;
  if (from < 0) {
    error = db.errorMessage();
    return false;
  }
  if (from > kSchemaVersion) {
    error = "数据库由较新版本的 decor-company-server 写入（版本 " + std::to_string(from) + "）";
    return false;
  }
  for (int step = from; step < kSchemaVersion; ++step) {
    if (!db.execute(kSteps[static_cast<std::size_t>(step)])) {
      error = db.errorMessage();
      return false;
    }
  }
  if (!db.execute("PRAGMA user_version = " + std::to_string(kSchemaVersion) + ";") || !transaction.commit()) {
    error = db.errorMessage();
    return false;
  }
  return true;
}

}  // namespace decor::server
