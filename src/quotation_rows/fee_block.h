#pragma once
// The fee block that closes the priced part of a quote: the three surcharges as fixed
// percentages of the works subtotal, then the project total.
#include <cstdint>

#include "domain/vocabulary.h"
#include "quotation_rows/quote_table.h"

namespace decor {

// Appends 其它的, 材料搬运费, 垃圾清理费用, 工程管理费, a blank row and 工程总造价. The fees
// are taken from the truncating sum of every 总计 in the table so far; the project total is
// the same sum taken again over the table including the fee rows.
void appendFeeBlock(QuoteTable& table);

}  // namespace decor
