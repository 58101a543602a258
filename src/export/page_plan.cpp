#include "export/page_plan.h"

#include <algorithm>
#include <cmath>

#include "quotation_rows/quote_table.h"

namespace decor {

std::size_t requestBlockLines(std::size_t roomCount) { return roomCount + 3; }

BlockLine blockLineAt(std::size_t line, std::size_t roomCount) {
  if (line == 0) return BlockLine::Request;
  if (line == 1) return BlockLine::RoomHeader;
  return line < roomCount + 2 ? BlockLine::Room : BlockLine::Blank;
}

std::vector<PageSlice> planPages(std::size_t rowCount, const PageGeometry& geometry, std::size_t blockLines) {
  std::vector<PageSlice> pages;
  std::size_t nextRow = 0;
  std::size_t nextLine = 0;
  const bool usable = geometry.rowHeight > 0;
  do {
    const bool firstPage = pages.empty();
    PageSlice page{.firstRow = nextRow, .rowCount = 0, .firstBlockLine = nextLine, .blockLineCount = 0,
                   .showsTable = false};
    double room = geometry.pageHeight - 2 * geometry.margin - geometry.runningHeadHeight - geometry.footerHeight -
                  (firstPage ? geometry.titleHeight : 0);
    auto linesIn = [&](double height) {
      return usable && height > 0 ? static_cast<std::size_t>(std::floor(height / geometry.rowHeight)) : 0;
    };
    if (nextLine < blockLines) {
      // A geometry too small for a single line still moves on: one line a page.
      page.blockLineCount = std::min(std::max<std::size_t>(1, linesIn(room)), blockLines - nextLine);
      nextLine += page.blockLineCount;
      room -= static_cast<double>(page.blockLineCount) * geometry.rowHeight;
    }
    const std::size_t rowsHere = linesIn(room - geometry.headerRowHeight);
    // The table starts on a page with room for its header and a row, or with nothing else on it.
    if (nextLine == blockLines && (page.blockLineCount == 0 || rowsHere > 0)) {
      page.showsTable = true;
      const std::size_t fits = page.blockLineCount == 0 ? std::max<std::size_t>(1, rowsHere) : rowsHere;
      page.rowCount = std::min(fits, rowCount - nextRow);
      nextRow += page.rowCount;
    }
    pages.push_back(page);
  } while (nextLine < blockLines || nextRow < rowCount || !pages.back().showsTable);
  return pages;
}

std::vector<double> columnEdges(std::span<const ColumnFormat> columns, double left, double width) {
  double windowWidth = 0;
  for (const ColumnFormat& column : columns) windowWidth += column.width;
  std::vector<double> edges{left};
  for (const ColumnFormat& column : columns) edges.push_back(edges.back() + width * column.width / windowWidth);
  return edges;
}

std::array<double, 7> columnEdges(double left, double width) {
  const std::vector<double> edges = columnEdges(kQuoteColumns, left, width);
  std::array<double, 7> result{};
  std::copy(edges.begin(), edges.end(), result.begin());
  return result;
}

}  // namespace decor
