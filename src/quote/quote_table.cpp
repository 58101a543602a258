#include "quote/quote_table.h"

#include <algorithm>
#include <limits>

#include "text/number_format.h"
#include "text/text_to_number.h"

namespace decor {

std::string itemTotal(std::string_view quantity, std::string_view unitPrice, TotalRule rule) {
  const double product = textToNumber(quantity) * textToNumber(unitPrice);
  if (rule == TotalRule::WholeNumber) return formatInteger(truncateToInt32(product));
  return formatSingle(product);
}

void QuoteTable::appendItemRow(std::string_view name, std::string_view unit, std::string quantity,
                               std::string unitPrice, TotalRule rule) {
  QuoteItem row;
  if (!rows_.empty() && !rows_.back().name.empty()) row.number = formatDouble(textToNumber(rows_.back().number) + 1);
  row.name = name;
  row.unit = unit;
  row.total = itemTotal(quantity, unitPrice, rule);
  row.quantity = std::move(quantity);
  row.unitPrice = std::move(unitPrice);
  appendRow(std::move(row));
}

void QuoteTable::appendRoomHeader(std::string_view roomType) {
  QuoteItem row;
  row.name = roomType;
  appendRow(std::move(row));
}

void QuoteTable::appendBlankRow() { appendRow(QuoteItem{}); }

void QuoteTable::appendRow(QuoteItem row) {
  rows_.push_back(std::move(row));
  if (listener_) listener_(rows_.size() - 1, rows_.back());
}

std::int32_t truncatingTotalSum(const std::vector<QuoteItem>& rows, std::size_t end) {
  std::int32_t sum = 0;
  for (std::size_t i = 0; i < std::min(end, rows.size()); ++i) {
    if (rows[i].total.empty()) continue;
    sum = truncateToInt32(static_cast<double>(sum) + textToNumber(rows[i].total));
  }
  return sum;
}

bool anyTotalSaturated(const std::vector<QuoteItem>& rows) {
  constexpr double kMax = std::numeric_limits<std::int32_t>::max();
  constexpr double kMin = std::numeric_limits<std::int32_t>::min();
  double sum = 0;
  for (const QuoteItem& row : rows) {
    if (row.total.empty()) continue;
    const double value = textToNumber(row.total);
    if (value >= kMax || value <= kMin) return true;
    sum = static_cast<double>(truncateToInt32(sum + value));
    if (sum >= kMax || sum <= kMin) return true;
  }
  return false;
}

}  // namespace decor
