#include "quotation_rows/quote_commands.h"

#include <algorithm>
#include <array>
#include <vector>

#include "domain/vocabulary.h"
#include "quotation_rows/fee_block.h"
#include "quotation_rows/quote_totals.h"
#include "text/number_format.h"
#include "text/text_to_number.h"

namespace decor {
namespace {

bool isFeeName(std::string_view name) { return std::find(kFeeNames.begin(), kFeeNames.end(), name) != kFeeNames.end(); }

std::optional<std::size_t> validRow(const QuoteTable& table, std::optional<std::size_t> selected) {
  if (selected && *selected < table.size()) return selected;
  return std::nullopt;
}

std::size_t firstRowNamed(const QuoteTable& table, std::string_view name, std::size_t from = 0) {
  for (std::size_t i = from; i < table.size(); ++i) {
    if (table[i].name == name) return i;
  }
  return table.size();
}

// At most the trailing blank row and 全包总价格, and only while the last row is one of them.
std::size_t withoutTrailingPair(const std::vector<QuoteItem>& rows, std::size_t end) {
  for (int removed = 0; removed < 2 && end > 0; ++removed) {
    const std::string& name = rows[end - 1].name;
    if (!name.empty() && name != kFullPackageTotalName) break;
    --end;
  }
  return end;
}

}  // namespace

void modifyRow(QuoteTable& table, std::optional<std::size_t> selected, const ItemEdit& edit, PackageScope mode) {
  const std::int32_t subtotal = worksSubtotal(table);
  if (const auto row = validRow(table, selected)) {
    double total = textToNumber(edit.quantity) * textToNumber(edit.unitPrice);
    if (isFeeName(edit.name)) total = total * subtotal / 100.0;
    table.setRow(*row, QuoteItem{.number = table[*row].number,
                                 .name = edit.name,
                                 .unit = edit.unit,
                                 .quantity = edit.quantity,
                                 .unitPrice = edit.unitPrice,
                                 .total = formatDouble(total)});
  }
  if (mode == PackageScope::Half) {
    recomputeLastRow(table);
    return;
  }
  table.truncate(withoutTrailingPair(table.rows(), table.size()));
  appendFullPackageTotal(table);
}

void deleteRow(QuoteTable& table, std::optional<std::size_t> selected) {
  if (const auto row = validRow(table, selected)) table.removeRow(*row);
  recomputeLastRow(table);
}

void addItem(QuoteTable& table, const AddedItem& item, PackageScope mode) {
  const std::size_t heading = firstRowNamed(table, kFeeHeading);
  std::vector<QuoteItem> mainMaterials;
  if (mode == PackageScope::Full && heading < table.size()) {
    const std::size_t projectTotal = firstRowNamed(table, kProjectTotalName, heading + 1);
    if (projectTotal < table.size()) {
      const auto& rows = table.rows();
      const std::size_t end = std::max(projectTotal + 1, withoutTrailingPair(rows, rows.size()));
      mainMaterials.assign(rows.begin() + static_cast<std::ptrdiff_t>(projectTotal + 1),
                           rows.begin() + static_cast<std::ptrdiff_t>(end));
    }
  }
  table.truncate(heading);

  // An existing block of added items ends with its blank row, right above which sits an item.
  const bool blockExists = table.size() >= 2 && table[table.size() - 2].number == kAddedItemNumber;
  if (blockExists) {
    table.truncate(table.size() - 1);
  } else {
    table.appendBlankRow();
  }
  table.appendRow(QuoteItem{.number = std::string(kAddedItemNumber),
                            .name = item.name,
                            .unit = std::string(kAddedItemUnit),
                            .quantity = item.quantity,
                            .unitPrice = item.unitPrice,
                            .total = formatDouble(textToNumber(item.quantity) * textToNumber(item.unitPrice))});
  table.appendBlankRow();
  appendFeeBlock(table);

  if (mode != PackageScope::Full) return;
  for (QuoteItem& row : mainMaterials) table.appendRow(std::move(row));
  appendFullPackageTotal(table);
}

std::optional<std::string_view> addItemDefaultPrice(std::string_view name) {
  for (const AddItemDefault& entry : kAddItemDefaults) {
    if (entry.name == name) return entry.unitPrice;
  }
  return std::nullopt;
}

}  // namespace decor
