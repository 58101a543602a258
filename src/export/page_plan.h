#pragma once
// How a quotation falls onto A4 pages when printed or saved as PDF. All lengths are in
// points (1/72 inch). Rows have one fixed height, so the split is plain arithmetic: the
// first page carries the title and the date, every page a running head and a footer with
// the company's contact and the page number. The request block (grade, package, floor and
// the room list) comes first, line by line like rows; the table follows it, its column
// header on every page that shows table rows.
#include <array>
#include <cstddef>
#include <span>
#include <vector>

#include "quotation_rows/column_format.h"

namespace decor {

struct PageGeometry {
  double pageWidth = 595.276;  // A4 upright
  double pageHeight = 841.89;
  double margin = 42.52;  // 15 mm on every side
  double runningHeadHeight = 22;
  double titleHeight = 54;  // first page only
  double headerRowHeight = 20;
  double rowHeight = 17;
  double footerHeight = 26;

  double contentWidth() const { return pageWidth - 2 * margin; }
};

struct PageSlice {
  std::size_t firstRow = 0;
  std::size_t rowCount = 0;
  std::size_t firstBlockLine = 0;
  std::size_t blockLineCount = 0;
  bool showsTable = true;  // the table's column header (and rows, if any) are on this page

  bool operator==(const PageSlice&) const = default;
};

// The request block, line by line: the request line ("装修档次：…"), the room list's column
// header, one line per room, and a blank line before the table.
enum class BlockLine { Request, RoomHeader, Room, Blank };
std::size_t requestBlockLines(std::size_t roomCount);
BlockLine blockLineAt(std::size_t line, std::size_t roomCount);

// The block's lines and rows of each page in order; a table without rows still gets its
// header on the page where the block ends.
std::vector<PageSlice> planPages(std::size_t rowCount, const PageGeometry& geometry, std::size_t blockLines = 0);

// Left edge of each of the six columns and the right edge of the last, from the window's
// column widths stretched over `width`.
std::array<double, 7> columnEdges(double left, double width);
// The same for any list's columns (the room list's, in the request block).
std::vector<double> columnEdges(std::span<const ColumnFormat> columns, double left, double width);

}  // namespace decor
