#include "server/intake/double_sends.h"

namespace decor::server {

bool isRepeat(Database& db, const StoredEstimate& estimate, std::int64_t sinceMs) {
  Statement select(db,
                   "SELECT 1 FROM estimate_intake i JOIN estimates e ON e.id = i.estimate_id WHERE i.accepted_ms >= ?1"
                   " AND e.email = ?2 AND e.phone = ?3 AND e.result = ?4 LIMIT 1;");
  return select.bind(1, sinceMs).bind(2, estimate.email).bind(3, estimate.phone).bind(4, estimate.result).row();
}

bool noteAccepted(Database& db, std::int64_t estimateId, std::int64_t nowMs) {
  Statement insert(db, "INSERT INTO estimate_intake (estimate_id, accepted_ms) VALUES (?1, ?2);");
  return insert.bind(1, estimateId).bind(2, nowMs).done();
}

}  // namespace decor::server
