#include "server/intake/double_sends.h"

namespace decor::server {
namespace {

std::int64_t fingerprintOf(const StoredEstimate& estimate) {
  return estimateFingerprint(estimate.email, estimate.phone, estimate.result);
}

}  // namespace

bool isRepeat(Database& db, const StoredEstimate& estimate, std::int64_t sinceMs) {
  // INDEXED BY: a plan without the fingerprint index would read every recent estimate, and
  // the accept rate would fall as estimates arrive; SQLite refuses the statement instead.
  // The texts are compared too: a fingerprint may be shared.
  Statement select(db,
                   "SELECT 1 FROM estimate_intake i INDEXED BY estimate_intake_fingerprint"
                   " JOIN estimates e ON e.id = i.estimate_id WHERE i.fingerprint = ?5 AND i.accepted_ms >= ?1"
                   " AND e.email = ?2 AND e.phone = ?3 AND e.result = ?4 LIMIT 1;");
  return select.bind(1, sinceMs)
      .bind(2, estimate.email)
      .bind(3, estimate.phone)
      .bind(4, estimate.result)
      .bind(5, fingerprintOf(estimate))
      .row();
}

bool noteAccepted(Database& db, std::int64_t estimateId, const StoredEstimate& estimate, std::int64_t nowMs) {
  Statement insert(db, "INSERT INTO estimate_intake (estimate_id, accepted_ms, fingerprint) VALUES (?1, ?2, ?3);");
  return insert.bind(1, estimateId).bind(2, nowMs).bind(3, fingerprintOf(estimate)).done();
}

}  // namespace decor::server
