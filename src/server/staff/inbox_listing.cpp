#include "server/staff/inbox_listing.h"

#include <string_view>

#include "server/staff/staff_output_escaping.h"
#include "text/csv.h"

namespace decor::server {
namespace {

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

std::string inboxCsv(const std::vector<StoredEstimate>& estimates, const std::vector<std::string>* delivery) {
  const bool withDelivery = delivery && delivery->size() == estimates.size();
  // The byte-order mark tells Excel the file is UTF-8.
  std::string csv = withDelivery ? "\xEF\xBB\xBF时间,邮箱,手机,投递,报价内容\r\n" : "\xEF\xBB\xBF时间,邮箱,手机,报价内容\r\n";
  for (std::size_t i = 0; i < estimates.size(); ++i) {
    const auto& estimate = estimates[i];
    csv += csvField(estimate.received) + ',' + csvField(estimate.email) + ',' + csvField(estimate.phone) + ',' +
           (withDelivery ? csvField((*delivery)[i]) + ',' : std::string()) + csvField(estimate.result) + "\r\n";
  }
  return csv;
}

std::string inboxText(const std::vector<StoredEstimate>& estimates, const std::vector<std::string>* delivery) {
  if (estimates.empty()) return "没有收到报价。\n";
  const bool withDelivery = delivery && delivery->size() == estimates.size();
  std::string text;
  for (std::size_t i = 0; i < estimates.size(); ++i) {
    const auto& estimate = estimates[i];
    if (!text.empty()) text += '\n';
    text += "时间：" + visibleEscapes(estimate.received) + "\n邮箱：" + visibleEscapes(estimate.email) +
            "\n手机：" + visibleEscapes(estimate.phone) + "\n" +
            (withDelivery ? "投递：" + visibleEscapes((*delivery)[i]) + "\n" : std::string()) + "报价内容：\n" +
            indentedLines(estimate.result);
  }
  return text;
}

}  // namespace decor::server
