#pragma once
// The tables of the company's database and the steps from each earlier layout to today's,
// counted in PRAGMA user_version, so that a database written by an earlier server opens,
// lists and serves as it did.
#include <string>

#include "server/storage/database.h"

namespace decor::server {

// 0: a new file, or one written before the version was counted, whose server created each
//    table when it first needed it.
// 1: every table of that layout (the estimates in a table "quotes").
// 2: the estimates and what refers to them named for what they are.
// 3: each accepted estimate's fingerprint beside its time, indexed, for the double-send check.
inline constexpr int kSchemaVersion = 3;

// The layout's version as the file records it; -1 when it cannot be read.
int schemaVersion(Database& db);

// Brings the file to kSchemaVersion (the connection has the SQL function
// estimate_fingerprint, see estimateFingerprint) in one write transaction (nothing to do when it is
// there); false, with the reason in `error`, when that fails or the file is newer.
bool migrateSchema(Database& db, std::string& error);

}  // namespace decor::server
