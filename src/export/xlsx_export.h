#pragma once
// The quotation as an Excel workbook (.xlsx): a sheet named after the caption, the caption
// as title, the date, the column header frozen at the top, then every row of the table; and
// a second sheet "房间" with the grade, the package, the floor and the room list it prices.
// Plain decimal figures become numbers a customer can sum and re-price; every other cell is
// text exactly as shown. The company's name heads and its hotline and website foot every
// printed page.
#include <string>
#include <string_view>

#include "export/quote_document.h"

namespace decor {

// Writes the workbook to `path` (created or overwritten). Returns the reason for a failure,
// empty on success. Used as the writer of replaceFile.
std::string writeQuoteWorkbook(const QuoteDocument& document, const std::string& path);

// Saves the workbook through a temporary file: an earlier file at `path` is replaced only by a
// complete workbook. Returns a message for the user, empty on success.
std::string saveQuoteWorkbook(const QuoteDocument& document, const std::string& path);

// Sheet names are at most 31 characters and cannot hold []:*?/\ or start or end with '.
std::string sheetNameFor(std::string_view caption);

// Excel's header and footer codes: "&" starts a code, so a literal one is doubled.
std::string escapeHeaderFooterText(std::string_view text);

// Rows above the table: title, date, column header.
inline constexpr int kWorkbookHeaderRows = 3;

// The second sheet: three label-value rows, a blank row, then the room list's column header.
inline constexpr std::string_view kRequestSheetName = "房间";
inline constexpr int kRequestSheetHeaderRows = 5;

}  // namespace decor
