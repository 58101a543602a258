#pragma once
// A quotation as it leaves the program: the table's rows with their caption, the date, the
// company's contact data and the request they were built from (grade, package, floor and
// rooms), so that a reader knows what the figures price. The Excel, PDF and printed forms are
// all drawn from this, so they show the same rows with the same emphasis.
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "deployment/endpoints.h"
#include "quotation_rows/quote_build.h"
#include "quotation_rows/quote_table.h"

namespace decor {

struct CompanyContact {
  std::string name;
  std::string hotline;
  std::string website;

  static CompanyContact from(const Endpoints& endpoints);
};

struct QuoteDocument {
  std::string caption;  // "半包装修详细报价" / "全包装修详细报价"
  std::string date;     // "2026-12-08"
  std::vector<QuoteItem> rows;
  CompanyContact company;
  QuoteRequest request;
};

// The two files a quotation is saved as.
enum class QuoteFileFormat { Excel, Pdf };

std::string_view fileExtension(QuoteFileFormat format);  // "xlsx" / "pdf"

// "2026-12-08", the local date of today.
std::string todayIsoDate();

// The value of a cell whose whole text is a plain decimal number that a spreadsheet shows
// back exactly as written: optional minus, digits, optional point and digits, at most 15
// significant digits, no leading zeros, no trailing zeros after the point. Anything else
// ("2%", "-", "增", "1e5", "007", "1.50") stays text.
std::optional<double> plainDecimalValue(std::string_view text);

// Room and package headings, the fee block's heading and the two totals.
bool isEmphasisedRow(const QuoteItem& row);

// What the request is shown as: its three choices as label and value, in order
// (装修档次, 报价方式, 地面), and the room list under the room entry window's column titles.
struct RequestField {
  std::string_view label;
  std::string value;

  bool operator==(const RequestField&) const = default;
};
std::array<RequestField, 3> requestFields(const QuoteRequest& request);
// The fields on one line: "装修档次：舒适型装修  报价方式：全包  地面：地板".
std::string requestLine(const QuoteRequest& request);

// "日期：2026-12-08"
std::string dateLine(std::string_view date);
// "第 3 页 / 共 12 页"
std::string pageNumberText(int page, int pageCount);
// "服务热线：400-820-6688" and "网址：http://…"
std::string hotlineLine(const CompanyContact& company);
std::string websiteLine(const CompanyContact& company);

// A file name for saving: "全包装修详细报价-2026-12-08.xlsx". Characters that a Windows or
// Linux file name cannot hold become "_".
std::string proposedFileName(std::string_view caption, std::string_view date, std::string_view extension);

// The path a user typed in the save dialog, with ".extension" added unless it already ends
// with it (in any case): "报价" → "报价.pdf", "报价.PDF" stays.
std::string withFileExtension(std::string_view path, std::string_view extension);

}  // namespace decor
