#include "server/inbox_listing.h"

#include <string_view>

namespace decor::server {
namespace {

std::string csvField(std::string_view value) {
  if (value.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(value);
  std::string quoted = "\"";
  for (const char c : value) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

std::string withUnixLineBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

}  // namespace

std::string inboxCsv(const std::vector<StoredQuote>& quotes, const std::vector<std::string>* delivery) {
  const bool withDelivery = delivery && delivery->size() == quotes.size();
  std::string csv = withDelivery ? "时间,邮箱,手机,投递,报价内容\r\n" : "时间,邮箱,手机,报价内容\r\n";
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
    text += "时间：" + quote.received + "\n邮箱：" + quote.email + "\n手机：" + quote.phone + "\n" +
            (withDelivery ? "投递：" + (*delivery)[i] + "\n" : std::string()) + "报价内容：\n" +
            withUnixLineBreaks(quote.result) + "\n";
  }
  return text;
}

}  // namespace decor::server
