#include "export/page_plan.h"

#include <algorithm>
#include <cmath>

#include "quotation_rows/quote_table.h"

namespace decor {

std::size_t PageGeometry::rowsPerPage(bool firstPage) const {
  const double room = pageHeight - 2 * margin - runningHeadHeight - headerRowHeight - footerHeight -
                      (firstPage ? titleHeight : 0);
  if (!(room > 0) || !(rowHeight > 0)) return 1;
  // A geometry too small for a single row still moves on: one row a page.
  return std::max<std::size_t>(1, static_cast<std::size_t>(std::floor(room / rowHeight)));
}

std::vector<PageSlice> planPages(std::size_t rowCount, const PageGeometry& geometry) {
  std::vector<PageSlice> pages;
  std::size_t next = 0;
  do {
    const std::size_t fits = geometry.rowsPerPage(pages.empty());
    const std::size_t count = std::min(fits, rowCount - next);
    pages.push_back(PageSlice{next, count});
    next += count;
  } while (next < rowCount);
  return pages;
}

std::array<double, 7> columnEdges(double left, double width) {
  double windowWidth = 0;
  for (const ColumnFormat& column : kQuoteColumns) windowWidth += column.width;
  std::array<double, 7> edges{};
  edges[0] = left;
  for (std::size_t i = 0; i < kQuoteColumns.size(); ++i) {
    edges[i + 1] = edges[i] + width * kQuoteColumns[i].width / windowWidth;
  }
  return edges;
}

}  // namespace decor
