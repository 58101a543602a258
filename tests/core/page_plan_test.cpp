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

// The request block comes first, a line the height of a row; the table's header follows it on
// the page where it ends if a row fits below, else on the next page.
TEST(PagePlan, TheRequestBlockComesFirstAndTheTableFollowsIt) {
  const PageGeometry a4;
  struct Case {
    std::size_t rows, blockLines;
    std::vector<PageSlice> pages;
  };
  const Case cases[] = {
      {0, 3, {{0, 0, 0, 3, true}}},
      {10, 7, {{0, 10, 0, 7, true}}},
      {100, 7, {{0, 30, 0, 7, true}, {30, 40, 7, 0, true}, {70, 30, 7, 0, true}}},
      // 38 block lines fill the first page to the last row: the table starts on the second.
      {5, 50, {{0, 0, 0, 38, false}, {0, 5, 38, 12, true}}},
      {0, 38, {{0, 0, 0, 38, false}, {0, 0, 38, 0, true}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(planPages(c.rows, a4, c.blockLines), c.pages) << c.rows << " rows, " << c.blockLines << " block lines";
  }
  EXPECT_EQ(requestBlockLines(4), 7u);
  EXPECT_EQ(blockLineAt(0, 4), BlockLine::Request);
  EXPECT_EQ(blockLineAt(1, 4), BlockLine::RoomHeader);
  EXPECT_EQ(blockLineAt(2, 4), BlockLine::Room);
  EXPECT_EQ(blockLineAt(5, 4), BlockLine::Room);
  EXPECT_EQ(blockLineAt(6, 4), BlockLine::Blank);
}

TEST(PagePlan, AnyGeometryMovesOnAndCoversEveryRowOnce) {
  PageGeometry tiny;
  tiny.pageHeight = 100;  // no room for a row
  EXPECT_EQ(planPages(3, tiny), (std::vector<PageSlice>{{0, 1}, {1, 1}, {2, 1}}));
  EXPECT_EQ(planPages(1, tiny, 2), (std::vector<PageSlice>{{0, 0, 0, 1, false}, {0, 0, 1, 1, false}, {0, 1, 2, 0, true}}));
  PageGeometry broken;
  broken.rowHeight = 0;
  EXPECT_EQ(planPages(2, broken), (std::vector<PageSlice>{{0, 1}, {1, 1}}));
  EXPECT_EQ(planPages(1, broken, 1), (std::vector<PageSlice>{{0, 0, 0, 1, false}, {0, 1, 1, 0, true}}));

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
