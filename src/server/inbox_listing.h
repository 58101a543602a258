#pragma once
// The stored quotes as staff read them: a plain listing or CSV for a spreadsheet.
#include <string>
#include <vector>

#include "server/quote_store.h"

namespace decor::server {

// RFC 4180 after a UTF-8 byte-order mark: header row 时间,邮箱,手机,报价内容, CRLF after every
// record, a field quoted (its quotes doubled) when it holds a comma, a quote, CR or LF. A
// field that a spreadsheet would take for a formula starts with "'".
// With `delivery` (one state a quote, in the same order) a column 投递 follows 手机.
std::string inboxCsv(const std::vector<StoredQuote>& quotes, const std::vector<std::string>* delivery = nullptr);

// One block per quote, a blank line between blocks, "\n" line breaks throughout. Control
// characters show as escapes; the result's lines are indented by two blanks.
// With `delivery` a line 投递：… follows 手机：….
std::string inboxText(const std::vector<StoredQuote>& quotes, const std::vector<std::string>* delivery = nullptr);

}  // namespace decor::server
