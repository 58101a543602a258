#include <gtest/gtest.h>

#include "export/page_plan.h"

namespace decor {
namespace {

TEST(PagePlan, A4HoldsThirtySevenRowsUnderTheTitleAndFortyAfter) {
  const PageGeometry a4;
  struct Case {
    std::size_t rows;
    std::vector<PageSlice> pages;
  };
  const Case cases[] = {
      {0, {{0, 0}}},
      {1, {{0, 1}}},
      {37, {{0, 37}}},
      {38, {{0, 37}, {37, 1}}},
      {77, {{0, 37}, {37, 40}}},
      {78, {{0, 37}, {37, 40}, {77, 1}}},
  };
  for (const Case& c : cases) EXPECT_EQ(planPages(c.rows, a4), c.pages) << c.rows << " rows";
}

TEST(PagePlan, AnyGeometryMovesOnAndCoversEveryRowOnce) {
  PageGeometry tiny;
  tiny.pageHeight = 100;  // no room for a row
  EXPECT_EQ(planPages(3, tiny), (std::vector<PageSlice>{{0, 1}, {1, 1}, {2, 1}}));
  PageGeometry broken;
  broken.rowHeight = 0;
  EXPECT_EQ(planPages(2, broken), (std::vector<PageSlice>{{0, 1}, {1, 1}}));

  PageGeometry letter;
  letter.pageWidth = 612;
  letter.pageHeight = 792;
  std::size_t next = 0;
  for (const PageSlice& page : planPages(1000, letter)) {
    EXPECT_EQ(page.firstRow, next);
    EXPECT_GT(page.rowCount, 0u);
    next += page.rowCount;
  }
  EXPECT_EQ(next, 1000u);
}

TEST(PagePlan, ColumnsKeepTheWindowsProportions) {
  // Window widths 50, 200, 50, 80, 120, 120 (620 in all) over 620 points: the same numbers.
  EXPECT_EQ(columnEdges(10, 620), (std::array<double, 7>{10, 60, 260, 310, 390, 510, 630}));
  const auto half = columnEdges(0, 310);
  EXPECT_DOUBLE_EQ(half[2] - half[1], 100);
  EXPECT_DOUBLE_EQ(half[6], 310);
}

}  // namespace
}  // namespace decor
