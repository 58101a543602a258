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

std::string inboxCsv(const std::vector<StoredQuote>& quotes, const std::vector<std::string>* delivery) {
  const bool withDelivery = delivery && delivery->size() == quotes.size();
  // The byte-order mark tells Excel the file is UTF-8.
  std::string csv = withDelivery ? "\xEF\xBB\xBF时间,邮箱,手机,投递,报价内容\r\n" : "\xEF\xBB\xBF时间,邮箱,手机,报价内容\r\n";
  for (std::size_t i = 0; i < quotes.size(); ++i) {
    const auto& quote = quotes[i];
    csv += csvField(quote.received) + ',' + csvField(quote.email) + ',' + csvField(quote.phone) + ',' +
           (withDelivery ? csvField((*delivery)[i]) + ',' : std::string()) + csvField(quote.result) + "\r\n";
  }
  return csv;
}

std::string inboxText(const std::vector<StoredQuote>& quotes, const std::vector<std::string>* delivery) {
  if (quotes.empty()) return "没有收到报价。\n";
  const bool withDelivery = delivery && delivery->size() == quotes.size();
  std::string text;
  for (std::size_t i = 0; i < quotes.size(); ++i) {
    const auto& quote = quotes[i];
    if (!text.empty()) text += '\n';
    text += "时间：" + visibleEscapes(quote.received) + "\n邮箱：" + visibleEscapes(quote.email) +
            "\n手机：" + visibleEscapes(quote.phone) + "\n" +
            (withDelivery ? "投递：" + visibleEscapes((*delivery)[i]) + "\n" : std::string()) + "报价内容：\n" +
            indentedLines(quote.result);
  }
  return text;
}

}  // namespace decor::server
