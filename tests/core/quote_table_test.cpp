#include <gtest/gtest.h>

#include "pricing/price_table.h"
#include "quotation_rows/fee_block.h"
#include "quotation_rows/quote_table.h"
#include "quotation_rows/works.h"
#include "quote_test_support.h"

namespace decor::test {
namespace {

TEST(QuoteTableAppend, NumbersRowsAfterANamedRowOnly) {
  QuoteTable table;
  table.appendItemRow("开头", "项", "1", "5", TotalRule::WholeNumber);  // nothing above
  table.appendHeading("客厅");
  table.appendItemRow("甲", "项", "1", "5", TotalRule::WholeNumber);
  table.appendItemRow("乙", "项", "2", "5", TotalRule::WholeNumber);
  table.appendBlankRow();
  table.appendItemRow("丙", "项", "1", "5", TotalRule::WholeNumber);  // after a blank row
  table.appendHeading("卧室");
  table.appendItemRow("丁", "项", "1", "5", TotalRule::WholeNumber);
  table.appendRow(QuoteItem{"9", "手写", "", "", "", ""});
  table.appendItemRow("戊", "项", "1", "5", TotalRule::WholeNumber);
  table.appendRow(QuoteItem{"abc", "手写", "", "", "", ""});
  table.appendItemRow("己", "项", "1", "5", TotalRule::WholeNumber);  // a non-numeric 序号 counts as 0

  EXPECT_EQ(table.rows(), (std::vector<QuoteItem>{
                              {"", "开头", "项", "1", "5", "5"},
                              header("客厅"),
                              {"1", "甲", "项", "1", "5", "5"},
                              {"2", "乙", "项", "2", "5", "10"},
                              blank(),
                              {"", "丙", "项", "1", "5", "5"},
                              header("卧室"),
                              {"1", "丁", "项", "1", "5", "5"},
                              {"9", "手写", "", "", "", ""},
                              {"10", "戊", "项", "1", "5", "5"},
                              {"abc", "手写", "", "", "", ""},
                              {"1", "己", "项", "1", "5", "5"},
                          }));
}

TEST(QuoteTableAppend, TotalRules) {
  // Whole number: the double product truncated toward zero.
  EXPECT_EQ(itemTotal("8.96", "35", TotalRule::WholeNumber), "313");
  EXPECT_EQ(itemTotal("0.29", "100", TotalRule::WholeNumber), "28");  // 0.29 is stored just below
  EXPECT_EQ(itemTotal("-1", "1480.9", TotalRule::WholeNumber), "-1480");
  EXPECT_EQ(itemTotal("2", "", TotalRule::WholeNumber), "0");
  EXPECT_EQ(itemTotal("3", "１２０", TotalRule::WholeNumber), "360");  // full-width digits
  // Single precision: float, six significant digits.
  EXPECT_EQ(itemTotal("8.96", "13", TotalRule::SinglePrecision), "116.48");
  EXPECT_EQ(itemTotal("34.44", "12", TotalRule::SinglePrecision), "413.28");
  EXPECT_EQ(itemTotal("1234.5", "1000", TotalRule::SinglePrecision), "1.2345e+006");
  EXPECT_EQ(itemTotal("", "13", TotalRule::SinglePrecision), "0");
}

TEST(QuoteTableAppend, ListenerSeesEveryRowCompleteAndInOrder) {
  QuoteTable table;
  std::vector<std::pair<std::size_t, QuoteItem>> seen;
  table.setRowListener([&](std::size_t index, const QuoteItem& row) { seen.emplace_back(index, row); });
  table.appendHeading("客厅");
  table.appendItemRow("鞋柜制作", "M", "1", "580", TotalRule::WholeNumber);
  table.appendBlankRow();
  EXPECT_EQ(seen, (std::vector<std::pair<std::size_t, QuoteItem>>{
                      {0, header("客厅")}, {1, {"1", "鞋柜制作", "M", "1", "580", "580"}}, {2, blank()}}));
}

TEST(QuoteTableEdit, AnIndexPastTheEndChangesNothing) {
  QuoteTable table;
  table.appendHeading("客厅");
  table.appendItemRow("鞋柜制作", "M", "1", "580", TotalRule::WholeNumber);
  const std::vector<QuoteItem> before = table.rows();
  table.setRow(2, header("卧室"));
  table.setTotal(2, "1");
  table.removeRow(2);
  table.truncate(5);
  EXPECT_EQ(table.rows(), before);
  table.setTotal(1, "1");
  table.setRow(0, header("卧室"));
  EXPECT_EQ(table.rows(), (std::vector<QuoteItem>{header("卧室"), {"1", "鞋柜制作", "M", "1", "580", "1"}}));
}

TEST(QuoteTableSum, TruncatesAfterEveryAdditionAndSkipsEmptyTotals) {
  std::vector<QuoteItem> rows{header("客厅"), {"1", "a", "", "", "", "116.48"}, {"2", "b", "", "", "", "413.28"},
                              {"3", "c", "", "", "", "abc"},  // not a number: 0
                              blank(), {"4", "d", "", "", "", "434"}, {"5", "e", "", "", "", "-0.5"}};
  // 116 -> 529.28 -> 529 -> 529 -> 963 -> 962.5 -> 962
  EXPECT_EQ(truncatingTotalSum(rows, rows.size()), 962);
  EXPECT_EQ(truncatingTotalSum(rows, 3), 529);
  EXPECT_EQ(truncatingTotalSum(rows, 100), 962);  // an end past the table stops at its last row
}

TEST(FeeBlock, FeesFromTheSubtotalAndATruncatedProjectTotal) {
  QuoteTable table;
  table.appendHeading("客厅");
  table.appendItemRow("工程", "项", "1", "12345", TotalRule::WholeNumber);
  table.appendBlankRow();
  appendFeeBlock(table);
  // 12345 + 246.9 + 123.45 + 987.6 is 13702.95; truncating after each addition gives 13701.
  EXPECT_EQ(table.rows(), concat({header("客厅"), {"1", "工程", "项", "1", "12345", "12345"}, blank()},
                                 feeBlock("246.9", "123.45", "987.6", "13701")));
}

TEST(FeeBlock, SubtotalOfThePaintRows) {
  QuoteTable table;
  table.appendHeading("客厅");
  appendPuttyAndPaint(table, ItemPrices::defaults(),
                      RoomMeasures{.length = 3200, .width = 2800, .height = 2920, .windowLength = 800,
                                   .windowHeight = 1500, .doorLeaves = 1, .wallCount = 4});
  appendFeeBlock(table);
  // S = 116 + 413 + 434 = 963.
  EXPECT_EQ(table.rows(), concat({header("客厅"),
                                  {"1", "顶面批腻子", "M2", "8.96", "13", "116.48"},
                                  {"2", "墙面批腻子", "M2", "34.44", "12", "413.28"},
                                  {"3", "墙顶面乳胶漆", "M2", "43.4", "10", "434"}},
                                 feeBlock("19.26", "9.63", "77.04", "1068")));
}

TEST(FeeBlock, NothingPricedGivesZeros) {
  QuoteTable table;
  table.appendHeading("储藏室");
  appendFeeBlock(table);
  EXPECT_EQ(table.rows(), concat({header("储藏室")}, feeBlock("0", "0", "0", "0")));
}

TEST(QuoteTableSaturation, WholeNumberFiguresAtTheEndsOfTheRangeAreFlagged) {
  const auto rows = [](std::vector<std::string> totals) {
    std::vector<QuoteItem> out;
    for (auto& total : totals) out.push_back(QuoteItem{"", "项", "", "", "", std::move(total)});
    return out;
  };
  const std::vector<std::pair<std::vector<std::string>, bool>> cases{
      {{"7811", "", "-40"}, false},
      {{"2147483646", "1"}, false},              // only a cell at the end of the range counts
      {{"2147483647"}, true},                    // an item total that was cut at the top
      {{"-2147483648"}, true},
      {{"1e+010"}, true},                        // a single-precision total beyond the range
      {{"2147483000", "-1000", "600"}, false},
      {{"2000000000", "2000000000", "2147483647"}, true},  // a sum that stopped at the top
  };
  for (const auto& [totals, saturated] : cases) EXPECT_EQ(anyTotalSaturated(rows(totals)), saturated) << totals.front();
}

}  // namespace
}  // namespace decor::test
