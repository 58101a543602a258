#include "server/standins/number_locations.h"

#include <algorithm>

namespace decor::server {
namespace {

bool isBlock(std::string_view text) {
  return text.size() == 7 && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool isCallbackName(std::string_view name) {
  return !name.empty() && name.size() <= 64 && std::all_of(name.begin(), name.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
  });
}

// The province goes into a JSON string: quotes, backslashes and control characters escaped.
std::string jsonEscaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      out += ' ';
    } else {
      out += c;
    }
  }
  return out;
}

std::string_view trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

NumberLocations NumberLocations::builtIn() {
  NumberLocations table;
  table.provinces_ = {{"1380013", "北京"}, {"1390210", "上海"}, {"1350571", "浙江"},
                      {"1361234", "广东"}, {"1502345", "江苏"}, {"1870755", "广东"}};
  return table;
}

std::optional<NumberLocations> NumberLocations::parse(std::string_view text, std::string& error) {
  NumberLocations table;
  std::size_t lineNumber = 0;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    const std::string_view line = trimmed(text.substr(start, end - start));
    start = end + 1;
    ++lineNumber;
    if (line.empty() || line.front() == '#') continue;
    const std::size_t gap = line.find_first_of(" \t");
    const std::string_view block = line.substr(0, gap);
    const std::string_view province = gap == std::string_view::npos ? std::string_view() : trimmed(line.substr(gap));
    if (!isBlock(block) || province.empty()) {
      error = "第 " + std::to_string(lineNumber) + " 行应为七位号段、空白和省份";
      return std::nullopt;
    }
    table.provinces_[std::string(block)] = std::string(province);
  }
  return table;
}

std::optional<std::string> NumberLocations::provinceOf(std::string_view block) const {
  const auto found = provinces_.find(block);
  if (found == provinces_.end()) return std::nullopt;
  return found->second;
}

std::string NumberLocations::reply(std::string_view number, std::string_view callback) const {
  const std::string name = isCallbackName(callback) ? std::string(callback) : "querycallback";
  const std::string block = number.size() >= 7 && isBlock(number.substr(0, 7)) ? std::string(number.substr(0, 7)) : "";
  const auto province = block.empty() ? std::nullopt : provinceOf(block);
  if (!province) return name + "({\"Mobile\":\"" + block + "\",\"QueryResult\":\"False\"});";
  return name + "({\"Mobile\":\"" + block + "\",\"QueryResult\":\"True\",\"Province\":\"" + jsonEscaped(*province) +
         "\",\"City\":\"" + jsonEscaped(*province) + "\"});";
}

}  // namespace decor::server
