#pragma once
// The record of when each estimate was accepted, by which a customer's second press of the
// send button within a few minutes is recognised and not stored again.
#include <cstdint>

#include "server/storage/database.h"
#include "server/storage/estimate_store.h"

namespace decor::server {

// Inside a transaction: whether an estimate with the same e-mail, phone and text was
// accepted at `sinceMs` or later.
bool isRepeat(Database& db, const StoredEstimate& estimate, std::int64_t sinceMs);

// Inside the estimate's transaction: notes that it was accepted at `nowMs`.
bool noteAccepted(Database& db, std::int64_t estimateId, const StoredEstimate& estimate, std::int64_t nowMs);

}  // namespace decor::server
