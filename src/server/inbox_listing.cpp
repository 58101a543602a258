#include "server/inbox_listing.h"

#include <string_view>

#include "server/staff_output_escaping.h"

namespace decor::server {
namespace {

std::string csvField(std::string_view raw) {
  const std::string value = withoutFormulaStart(raw);
  if (value.find_first_of(",\"\r\n") == std::string::npos) return value;
  std::string quoted = "\"";
  for (const char c : value) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

// The result's own line breaks (CR LF) stay line breaks, each line indented, so that no
// line of a result can pass for the start of another record.
std::string indentedLines(std::string_view text) {
  std::string out;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find("\r\n", start);
    const std::string line = visibleEscapes(text.substr(start, end == std::string_view::npos ? text.npos : end - start));
    out += (line.empty() ? "" : "  ") + line + "\n";
    if (end == std::string_view::npos) return out;
    start = end + 2;
  }
}

}  // namespace

std::string inboxCsv(const std::vector<StoredQuote>& quotes) {
  // The byte-order mark tells Excel the file is UTF-8.
  std::string csv = "\xEF\xBB\xBF时间,邮箱,手机,报价内容\r\n";
  for (const auto& quote : quotes) {
    csv += csvField(quote.received) + ',' + csvField(quote.email) + ',' + csvField(quote.phone) + ',' +
           csvField(quote.result) + "\r\n";
  }
  return csv;
}

std::string inboxText(const std::vector<StoredQuote>& quotes) {
  if (quotes.empty()) return "没有收到报价。\n";
  std::string text;
  for (const auto& quote : quotes) {
    if (!text.empty()) text += '\n';
    text += "时间：" + visibleEscapes(quote.received) + "\n邮箱：" + visibleEscapes(quote.email) +
            "\n手机：" + visibleEscapes(quote.phone) + "\n报价内容：\n" + indentedLines(quote.result);
  }
  return text;
}

}  // namespace decor::server
