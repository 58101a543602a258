#pragma once
// The itemised quotation as stateless requests: the body carries the whole quotation (the
// rooms, grade, package and floor, and the quotation window's commands in the order they
// ran), the server builds it on its current prices and runs the commands, exactly as
// `decor-cli quote` does, and answers the rows. The page keeps nothing but the body.
//
// A body may start from the rows of an opened file instead of a build: "opened": {"rows":
// the file's rows, "edits": k} says that the first k edits are already in those rows, so
// only the edits after them run and the figures the customer was given stay.
#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

#include "export/quote_document.h"
#include "json/json.h"
#include "pricing/price_table.h"
#include "quotation/quotation_file.h"
#include "server/web/api_conventions.h"

namespace decor::web {

// The calls that take a whole quotation in one body: "/api/quotation", ".xlsx", "/file",
// "/open".
inline constexpr std::string_view kQuotationCallPrefix = "quotation";

// The name a saved quotation is offered under.
inline constexpr std::string_view kQuotationDownloadName = "报价.json";

// A thousand rooms with the rows of their opened quotation (about fifteen rows a room) come
// to about 1 MiB; twice that leaves room for long texts.
inline constexpr std::size_t kMaxQuotationBodyBytes = 2 * 1024 * 1024;

// The work one request may ask for. A body of small rooms could name tens of thousands; each
// edit costs a pass over the table, so rooms, rows and edits are capped far above any flat.
inline constexpr std::size_t kMaxQuotationRooms = 2000;
inline constexpr std::size_t kMaxOpenedRows = 60000;
inline constexpr std::size_t kMaxQuotationEdits = 2000;

// The quotation a body describes, its edits run; rooms the room list would refuse, an edit
// whose row is past the end of the table as it stands then, and anything malformed are
// refused with a message naming the room, the edit or the field.
std::variant<KeptQuotation, ApiError> quotationOf(const json::Value& body, const ItemPrices& prices);

// {"caption", "rows": [[six texts]…], "details": [the detail label's description or ""…],
//  "totals": [[项目名称, 总计]…]}
json::Value quotationJson(const QuotationSession& session);

// The body that continues a saved quotation: the file's request and edits, and "opened"
// with its rows and the count of its edits.
json::Value continuingBody(const QuotationFile& file);

// The workbook the desktop's 导出 Excel writes for the document, as bytes.
std::variant<std::string, ApiError> workbookBytes(const QuoteDocument& document);

// Content-Disposition for a download named `fileName` (UTF-8): the name for every browser
// that reads RFC 5987, and `asciiFallback` for those that do not.
std::string attachment(std::string_view fileName, std::string_view asciiFallback);

}  // namespace decor::web
