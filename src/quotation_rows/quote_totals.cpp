#include "quotation_rows/quote_totals.h"

#include <algorithm>

#include "text/number_format.h"
#include "text/text_to_number.h"

namespace decor {

std::int32_t worksSubtotal(const QuoteTable& table) {
  const auto& rows = table.rows();
  const auto heading = std::find_if(rows.begin(), rows.end(), [](const QuoteItem& r) { return r.name == kFeeHeading; });
  return truncatingTotalSum(rows, static_cast<std::size_t>(heading - rows.begin()));
}

std::int32_t sumWithoutProjectTotals(const QuoteTable& table, std::size_t end) {
  std::int32_t sum = 0;
  const auto& rows = table.rows();
  for (std::size_t i = 0; i < std::min(end, rows.size()); ++i) {
    if (rows[i].total.empty() || rows[i].name == kProjectTotalName) continue;
    sum = truncateToInt32(static_cast<double>(sum) + textToNumber(rows[i].total));
  }
  return sum;
}

void appendFullPackageTotal(QuoteTable& table) {
  const std::int32_t sum = sumWithoutProjectTotals(table, table.size());
  table.appendBlankRow();
  QuoteItem total;
  total.name = kFullPackageTotalName;
  total.total = formatInteger(sum);
  table.appendRow(std::move(total));
}

void recomputeLastRow(QuoteTable& table) {
  if (table.size() == 0) return;
  const std::size_t last = table.size() - 1;
  table.setTotal(last, formatInteger(sumWithoutProjectTotals(table, last)));
}

std::vector<std::size_t> totalRows(const QuoteTable& table) {
  std::vector<std::size_t> found;
  const auto& rows = table.rows();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const std::string_view name = rows[i].name;
    const bool fee = std::find(kFeeNames.begin(), kFeeNames.end(), name) != kFeeNames.end();
    if (fee || name == kProjectTotalName || name == kFullPackageTotalName) found.push_back(i);
  }
  return found;
}

}  // namespace decor
