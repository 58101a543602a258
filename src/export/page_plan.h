#pragma once
// How a quotation falls onto A4 pages when printed or saved as PDF. All lengths are in
// points (1/72 inch). Rows have one fixed height, so the split is plain arithmetic: the
// first page carries the title and the date, every page a running head, the column header
// and a footer with the company's contact and the page number.
#include <array>
#include <cstddef>
#include <vector>

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
  // Table rows that fit on a page below the column header.
  std::size_t rowsPerPage(bool firstPage) const;
};

struct PageSlice {
  std::size_t firstRow = 0;
  std::size_t rowCount = 0;

  bool operator==(const PageSlice&) const = default;
};

// The rows of each page in order; a table without rows still gets one page.
std::vector<PageSlice> planPages(std::size_t rowCount, const PageGeometry& geometry);

// Left edge of each of the six columns and the right edge of the last, from the window's
// column widths stretched over `width`.
std::array<double, 7> columnEdges(double left, double width);

}  // namespace decor
