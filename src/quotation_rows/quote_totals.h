#pragma once
// The totals of a quotation as its commands recompute them. Rows are recognised by their
// 项目名称 only; every sum adds the 总计 numbers of the rows that count, truncating toward zero
// after each addition.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "domain/vocabulary.h"
#include "quotation_rows/quote_table.h"

namespace decor {

// The sum of the rows above the first 其它的 (every row when there is none).
std::int32_t worksSubtotal(const QuoteTable& table);

// The sum of rows [0, end) that have a 总计 and are not a 工程总造价 row.
std::int32_t sumWithoutProjectTotals(const QuoteTable& table, std::size_t end);

// Appends a blank row and 全包总价格 carrying the sum of every row before them that is not a
// 工程总造价 row: labour, fees and main materials.
void appendFullPackageTotal(QuoteTable& table);

// The rows that say what the quotation costs in all, in table order: the three fees, every
// 工程总造价 and 全包总价格. A view too short for the whole table keeps these in sight.
std::vector<std::size_t> totalRows(const QuoteTable& table);

// Writes the sum of the rows above the last one (工程总造价 rows left out) into the last row's
// 总计. Fee rows keep their values. An empty table stays as it is.
void recomputeLastRow(QuoteTable& table);

}  // namespace decor
