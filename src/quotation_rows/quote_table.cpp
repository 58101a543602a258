#include "quotation_rows/quote_table.h"

#include <algorithm>
#include <limits>

#include "text/number_format.h"
#include "text/text_to_number.h"

namespace decor {

std::vector<std::string_view> rowCells(const QuoteItem& row) {
  return {row.number, row.name, row.unit, row.quantity, row.unitPrice, row.total};
}

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

void QuoteTable::appendHeading(std::string_view name) {
  QuoteItem row;
  row.name = name;
  appendRow(std::move(row));
}

void QuoteTable::appendBlankRow() { appendRow(QuoteItem{}); }

void QuoteTable::appendRow(QuoteItem row) {
  rows_.push_back(std::move(row));
  if (listener_) listener_(rows_.size() - 1, rows_.back());
}

void QuoteTable::setRow(std::size_t index, QuoteItem row) {
  if (index < rows_.size()) rows_[index] = std::move(row);
}

void QuoteTable::setTotal(std::size_t index, std::string total) {
  if (index < rows_.size()) rows_[index].total = std::move(total);
}

void QuoteTable::removeRow(std::size_t index) {
  if (index < rows_.size()) rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(index));
}

void QuoteTable::truncate(std::size_t count) {
  if (count < rows_.size()) rows_.resize(count);
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
  return std::any_of(rows.begin(), rows.end(), [](const QuoteItem& row) {
    if (row.total.empty()) return false;
    const double value = textToNumber(row.total);
    return value >= kMax || value <= kMin;
  });
}

}  // namespace decor
