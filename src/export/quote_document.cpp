#include "export/quote_document.h"

#include <algorithm>
#include <charconv>

#include "text/local_time.h"

#include "domain/vocabulary.h"

namespace decor {

CompanyContact CompanyContact::from(const Endpoints& endpoints) {
  return CompanyContact{endpoints.companyName, endpoints.hotline, endpoints.website};
}

std::string_view fileExtension(QuoteFileFormat format) {
  return format == QuoteFileFormat::Excel ? "xlsx" : "pdf";
}

std::string todayIsoDate() { return localTimeText("%Y-%m-%d"); }

std::optional<double> plainDecimalValue(std::string_view text) {
  std::string_view digits = text;
  if (digits.starts_with('-')) digits.remove_prefix(1);
  const std::size_t point = digits.find('.');
  const std::string_view whole = digits.substr(0, point);
  const std::string_view fraction = point == std::string_view::npos ? std::string_view{} : digits.substr(point + 1);
  auto allDigits = [](std::string_view part) {
    return part.find_first_not_of("0123456789") == std::string_view::npos;
  };
  if (whole.empty() || !allDigits(whole) || !allDigits(fraction)) return std::nullopt;
  if (point != std::string_view::npos && (fraction.empty() || fraction.ends_with('0'))) return std::nullopt;
  if (whole.size() > 1 && whole.front() == '0') return std::nullopt;

  // Significant digits: everything after the leading zeros of the whole number.
  std::string significant = std::string(whole) + std::string(fraction);
  const std::size_t firstNonZero = significant.find_first_not_of('0');
  if (firstNonZero == std::string::npos) {
    // Zero itself; "-0" would show as 0, so it stays text.
    if (text.starts_with('-')) return std::nullopt;
    return 0.0;
  }
  if (significant.size() - firstNonZero > 15) return std::nullopt;

  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

bool isEmphasisedRow(const QuoteItem& row) {
  if (row.name == kFeeHeading || row.name == kProjectTotalName || row.name == kFullPackageTotalName) return true;
  // A heading: a name and nothing else.
  return !row.name.empty() && row.number.empty() && row.unit.empty() && row.quantity.empty() &&
         row.unitPrice.empty() && row.total.empty();
}

std::array<RequestField, 3> requestFields(const QuoteRequest& request) {
  return {{{"装修档次", request.grade},
           {"报价方式", std::string(packageScopeText(request.scope))},
           {"地面", std::string(floorText(request.floor))}}};
}

std::string requestLine(const QuoteRequest& request) {
  std::string line;
  for (const RequestField& field : requestFields(request)) {
    if (!line.empty()) line += "  ";
    line.append(field.label).append("：").append(field.value);
  }
  return line;
}

std::string dateLine(std::string_view date) { return "日期：" + std::string(date); }

std::string pageNumberText(int page, int pageCount) {
  return "第 " + std::to_string(page) + " 页 / 共 " + std::to_string(pageCount) + " 页";
}

std::string hotlineLine(const CompanyContact& company) { return "服务热线：" + company.hotline; }
std::string websiteLine(const CompanyContact& company) { return "网址：" + company.website; }

std::string proposedFileName(std::string_view caption, std::string_view date, std::string_view extension) {
  std::string name;
  for (char c : caption) {
    const bool forbidden = static_cast<unsigned char>(c) < 0x20 || std::string_view("<>:\"/\\|?*").find(c) !=
                                                                        std::string_view::npos;
    name += forbidden ? '_' : c;
  }
  // Windows drops trailing dots and blanks; a name made only of them would vanish.
  while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
  if (name.empty()) name = "报价";
  return name.append("-").append(date).append(".").append(extension);
}

std::string withFileExtension(std::string_view path, std::string_view extension) {
  // Appended rather than "." + std::string: GCC 12 at -O3 reports a false -Wrestrict overlap in
  // operator+(const char*, std::string&&).
  const std::string ending = std::string(".").append(extension);
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  const bool hasIt = path.size() >= ending.size() &&
                     std::equal(ending.begin(), ending.end(), path.end() - static_cast<std::ptrdiff_t>(ending.size()),
                                [&](char a, char b) { return lower(a) == lower(b); });
  return hasIt ? std::string(path) : std::string(path) + ending;
}

}  // namespace decor
