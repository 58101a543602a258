#include "quotation_rows/fee_block.h"

#include <array>

#include "text/number_format.h"

namespace decor {
namespace {

struct Fee {
  std::string_view name;
  std::string_view unit;
  std::string_view rateText;
  double rate;
};

// The rates are fixed, whatever the descriptions say about floors.
constexpr std::array<Fee, 3> kFees{{
    {kMaterialTransportFee, "户", "2%", 0.02},
    {kRubbishRemovalFee, "户", "1%", 0.01},
    {kProjectManagementFee, "项", "8%", 0.08},
}};

}  // namespace

void appendFeeBlock(QuoteTable& table) {
  const std::int32_t subtotal = truncatingTotalSum(table.rows(), table.size());
  table.appendHeading(kFeeHeading);
  for (const Fee& fee : kFees) {
    table.appendRow(QuoteItem{.number = {},
                              .name = std::string(fee.name),
                              .unit = std::string(fee.unit),
                              .quantity = "1",
                              .unitPrice = std::string(fee.rateText),
                              .total = formatDouble(static_cast<double>(subtotal) * fee.rate)});
  }
  table.appendBlankRow();
  // The total row itself is still empty when the sum is taken, so it adds nothing.
  const std::int32_t projectTotal = truncatingTotalSum(table.rows(), table.size());
  QuoteItem totalRow;
  totalRow.name = kProjectTotalName;
  totalRow.total = formatInteger(projectTotal);
  table.appendRow(std::move(totalRow));
}

}  // namespace decor
