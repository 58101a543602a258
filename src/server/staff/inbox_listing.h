#pragma once
// The stored estimates as staff read them: a plain listing or CSV for a spreadsheet.
#include <string>
#include <vector>

#include "server/storage/estimate_store.h"

namespace decor::server {

// RFC 4180 after a UTF-8 byte-order mark: header row 时间,邮箱,手机,报价内容, CRLF after every
// record, a field quoted (its quotes doubled) when it holds a comma, a quote, CR or LF. A
// field that a spreadsheet would take for a formula starts with "'".
// With `delivery` (one state an estimate, in the same order) a column 投递 follows 手机.
std::string inboxCsv(const std::vector<StoredEstimate>& estimates, const std::vector<std::string>* delivery = nullptr);

// One block per estimate, a blank line between blocks, "\n" line breaks throughout. Control
// characters show as escapes; the result's lines are indented by two blanks.
// With `delivery` a line 投递：… follows 手机：….
std::string inboxText(const std::vector<StoredEstimate>& estimates, const std::vector<std::string>* delivery = nullptr);

}  // namespace decor::server
