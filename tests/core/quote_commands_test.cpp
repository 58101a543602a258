// The quotation's commands on the table: 修改 in both modes, 删除此项, adding items by hand,
// and the full-package total kept true through any sequence of them.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "full_package/main_materials.h"
#include "quotation/quotation_session.h"
#include "quotation_rows/fee_block.h"
#include "quotation_rows/quote_commands.h"
#include "quotation_rows/quote_totals.h"
#include "quote_test_support.h"
#include "text/text_to_number.h"

namespace decor::test {
namespace {

QuoteItem item(const std::string& number, const std::string& name, const std::string& quantity,
               const std::string& price, const std::string& total) {
  return QuoteItem{number, name, "M2", quantity, price, total};
}
QuoteItem total(const std::string& name, const std::string& value) { return QuoteItem{"", name, "", "", "", value}; }
QuoteItem added(const std::string& name, const std::string& quantity, const std::string& price,
                const std::string& value) {
  return QuoteItem{"-", name, "增", quantity, price, value};
}

// Works totalling 10000, then the fee block: 200, 100, 800 and 11100.
const std::vector<QuoteItem> kWorks{header("客厅"), item("1", "墙面批腻子", "10", "100", "1000"),
                                    item("2", "实木门", "1", "9000", "9000"), blank()};

QuoteTable tableOf(const std::vector<QuoteItem>& rows) {
  QuoteTable table;
  for (const QuoteItem& r : rows) table.appendRow(r);
  return table;
}

QuoteTable halfQuote() { return tableOf(concat(kWorks, feeBlock("200", "100", "800", "11100"))); }

// The half quote with a main-material part: a balcony, then the full-package total.
const std::vector<QuoteItem> kMainMaterials{blank(), QuoteItem{"", "封阳台", "M2", "6.3", "170", "1071"}};
QuoteTable fullQuote() {
  return tableOf(concat(concat(concat(kWorks, feeBlock("200", "100", "800", "11100")), kMainMaterials),
                        {blank(), total("全包总价格", "12171")}));
}

// The rows a short view keeps in sight: fees and totals by name, wherever they stand.
TEST(QuoteCommands, TotalRowsAreTheFeesAndTotals) {
  const auto names = [](const QuoteTable& table) {
    std::vector<std::string> found;
    for (const std::size_t i : totalRows(table)) found.push_back(table[i].name);
    return found;
  };
  const std::vector<std::string> fees{"材料搬运费", "垃圾清理费用", "工程管理费", "工程总造价"};
  std::vector<std::string> full = fees;
  full.push_back("全包总价格");
  QuoteTable feeDeleted = halfQuote();
  deleteRow(feeDeleted, kWorks.size() + 2);  // 垃圾清理费用
  const struct {
    std::string name;
    QuoteTable table;
    std::vector<std::string> expected;
  } cases[] = {
      {"half", halfQuote(), fees},
      {"full", fullQuote(), full},
      {"a fee deleted", std::move(feeDeleted), {"材料搬运费", "工程管理费", "工程总造价"}},
      {"works only", tableOf(kWorks), {}},
  };
  for (const auto& c : cases) EXPECT_EQ(names(c.table), c.expected) << c.name;
}

TEST(QuoteCommands, HalfPackageModifyRecomputesTheLastRowOnly) {
  struct Case {
    std::string label;
    std::size_t row;
    ItemEdit edit;
    QuoteItem expectedRow;
    std::string expectedTotal;
  };
  const std::vector<Case> cases{
      {"quantity doubled", 1, {"墙面批腻子", "M2", "20", "100"}, item("1", "墙面批腻子", "20", "100", "2000"), "12100"},
      {"fee row: 数量 × 单价 × works subtotal / 100", 7, {"工程管理费", "项", "1", "10%"},
       QuoteItem{"", "工程管理费", "项", "1", "10%", "1000"}, "11300"},
      {"fraction kept in the row, sum truncated", 1, {"墙面批腻子", "M2", "3", "12.5"},
       item("1", "墙面批腻子", "3", "12.5", "37.5"), "10137"},
      {"empty quantity", 2, {"实木门", "扇", "", "9000"}, QuoteItem{"2", "实木门", "扇", "", "9000", "0"}, "2100"},
  };
  for (const Case& c : cases) {
    QuoteTable table = halfQuote();
    std::vector<QuoteItem> expected = table.rows();
    modifyRow(table, c.row, c.edit, PackageScope::Half);
    expected[c.row] = c.expectedRow;
    expected.back().total = c.expectedTotal;
    EXPECT_EQ(table.rows(), expected) << c.label;
  }

  // No row selected, or one past the end: nothing changes but the last row is recomputed.
  for (const std::optional<std::size_t> none : {std::optional<std::size_t>{}, std::optional<std::size_t>{99}}) {
    QuoteTable table = halfQuote();
    table.setTotal(table.size() - 1, "1");
    modifyRow(table, none, {"x", "x", "5", "5"}, PackageScope::Half);
    EXPECT_EQ(table.rows(), halfQuote().rows());
  }
}

TEST(QuoteCommands, FeeRowModifiedAfterTheHeadingIsDeletedUsesEveryRow) {
  QuoteTable table = halfQuote();
  deleteRow(table, 4);  // 其它的
  // Every row counts now: 10000 + 200 + 100 + 800 + 11100 (the old project total) = 22200.
  modifyRow(table, 6, {"工程管理费", "项", "1", "8%"}, PackageScope::Half);
  EXPECT_EQ(table[6], (QuoteItem{"", "工程管理费", "项", "1", "8%", "1776"}));
  EXPECT_EQ(table[table.size() - 1].total, "12076");
}

TEST(QuoteCommands, FullPackageModifyReplacesTheTrailingPair) {
  QuoteTable table = fullQuote();
  modifyRow(table, 1, {"墙面批腻子", "M2", "20", "100"}, PackageScope::Full);
  std::vector<QuoteItem> expected = fullQuote().rows();
  expected[1] = item("1", "墙面批腻子", "20", "100", "2000");
  expected.back().total = "13171";  // 工程总造价 keeps 11100 in this mode
  EXPECT_EQ(table.rows(), expected);

  // Without a selection the pair is still taken off and appended anew.
  QuoteTable stale = fullQuote();
  stale.setTotal(stale.size() - 1, "5");
  modifyRow(stale, std::nullopt, {}, PackageScope::Full);
  EXPECT_EQ(stale.rows(), fullQuote().rows());
}

TEST(QuoteCommands, FullPackageModifyKeepsANamedLastRow) {
  // 全包总价格 deleted: the blank row above takes the sum and is taken off, the balcony stays.
  QuoteTable one = fullQuote();
  deleteRow(one, one.size() - 1);
  modifyRow(one, std::nullopt, {}, PackageScope::Full);
  EXPECT_EQ(one.rows(), fullQuote().rows());

  // Both deleted: the balcony is last, took the sum (11100) and is a named row, so it stays.
  QuoteTable two = fullQuote();
  deleteRow(two, two.size() - 1);
  deleteRow(two, two.size() - 1);
  ASSERT_EQ(two[two.size() - 1], (QuoteItem{"", "封阳台", "M2", "6.3", "170", "11100"}));
  modifyRow(two, 1, {"墙面批腻子", "M2", "10", "100"}, PackageScope::Full);
  std::vector<QuoteItem> expected = fullQuote().rows();
  expected[11].total = "11100";
  expected.back().total = "22200";
  EXPECT_EQ(two.rows(), expected);
}

TEST(QuoteCommands, DeleteRemovesAnyRowAndRecomputesTheLastOne) {
  QuoteTable table = halfQuote();
  deleteRow(table, 2);  // the 9000 door
  std::vector<QuoteItem> expected = concat(kWorks, feeBlock("200", "100", "800", "2100"));
  expected.erase(expected.begin() + 2);
  EXPECT_EQ(table.rows(), expected) << "the fees keep their values";

  // The last row deleted: the blank row above receives the sum.
  QuoteTable last = halfQuote();
  deleteRow(last, last.size() - 1);
  std::vector<QuoteItem> withoutTotal = concat(kWorks, feeBlock("200", "100", "800", "11100"));
  withoutTotal.pop_back();
  withoutTotal.back().total = "11100";
  EXPECT_EQ(last.rows(), withoutTotal);

  QuoteTable none = halfQuote();
  deleteRow(none, std::nullopt);
  deleteRow(none, 50);
  EXPECT_EQ(none.rows(), halfQuote().rows());

  QuoteTable empty;
  deleteRow(empty, 0);
  EXPECT_EQ(empty.size(), 0U);
}

TEST(QuoteCommands, AddedItemsGatherAboveARebuiltFeeBlock) {
  QuoteTable table = halfQuote();
  addItem(table, {"清水漆", "3", "44.5"}, PackageScope::Half);
  // 10000 + 133.5 truncates to 10133: 202.66, 101.33, 810.64, 11247.
  const std::vector<QuoteItem> once =
      concat(concat(kWorks, {blank(), added("清水漆", "3", "44.5", "133.5"), blank()}),
             feeBlock("202.66", "101.33", "810.64", "11246"));
  EXPECT_EQ(table.rows(), once);

  addItem(table, {"双包门套", "1", "98"}, PackageScope::Half);
  const std::vector<QuoteItem> twice = concat(
      concat(kWorks, {blank(), added("清水漆", "3", "44.5", "133.5"), added("双包门套", "1", "98", "98"), blank()}),
      feeBlock("204.62", "102.31", "818.48", "11355"));
  EXPECT_EQ(table.rows(), twice);

  // Nothing is validated; a table without 其它的 keeps every row.
  QuoteTable bare = tableOf({header("客厅"), item("1", "墙面批腻子", "1", "5", "5")});
  addItem(bare, {"", "x", "7"}, PackageScope::Half);
  EXPECT_EQ(bare.rows(), concat({header("客厅"), item("1", "墙面批腻子", "1", "5", "5"), blank(),
                                 added("", "x", "7", "0"), blank()},
                                feeBlock("0.1", "0.05", "0.4", "5")));
}

TEST(QuoteCommands, AddingToAFullPackageKeepsTheMainMaterials) {
  QuoteTable table = fullQuote();
  addItem(table, {"工艺鞋柜", "1", "550"}, PackageScope::Full);
  // 10550: 211, 105.5, 844, 11710; then the balcony, and 11710 + 1071.
  EXPECT_EQ(table.rows(), concat(concat(concat(kWorks, {blank(), added("工艺鞋柜", "1", "550", "550"), blank()}),
                                        feeBlock("211", "105.5", "844", "11710")),
                                 concat(kMainMaterials, {blank(), total("全包总价格", "12781")})));

  // 全包总价格 deleted before: the balcony is kept all the same, the pair comes back.
  QuoteTable deleted = fullQuote();
  deleteRow(deleted, deleted.size() - 1);
  addItem(deleted, {"工艺鞋柜", "1", "550"}, PackageScope::Full);
  EXPECT_EQ(deleted.rows(), table.rows());

  // Without 其它的 nothing is kept below, and the total is still appended.
  QuoteTable noHeading = fullQuote();
  deleteRow(noHeading, 4);
  addItem(noHeading, {"a", "1", "1"}, PackageScope::Full);
  ASSERT_GE(noHeading.size(), 2U);
  EXPECT_EQ(noHeading[noHeading.size() - 1].name, "全包总价格");
  EXPECT_EQ(noHeading[noHeading.size() - 3].name, "工程总造价");
}

TEST(QuoteCommands, DefaultPricesOfTheAddItemWindow) {
  EXPECT_EQ(addItemDefaultPrice("清水漆"), "44.5");
  EXPECT_EQ(addItemDefaultPrice("包水管"), "75");
  EXPECT_EQ(addItemDefaultPrice("铲墙面"), "8");
  for (const char* none : {"双包门套", "墙地砖铺贴", "单包门套", "98", ""}) {
    EXPECT_EQ(addItemDefaultPrice(none), std::nullopt) << none;
  }
}

TEST(QuoteCommands, WorksSubtotalStopsAtTheFirstHeading) {
  EXPECT_EQ(worksSubtotal(halfQuote()), 10000);
  EXPECT_EQ(worksSubtotal(tableOf({item("1", "a", "", "", "1.9"), item("2", "b", "", "", "2.9")})), 3);
  EXPECT_EQ(worksSubtotal(QuoteTable{}), 0);
}

// The sum the full-package total must show: every row above the last, 工程总造价 rows left out.
std::int64_t expectedFullTotal(const QuoteTable& table) {
  std::int64_t sum = 0;
  for (std::size_t i = 0; i + 1 < table.size(); ++i) {
    if (table[i].total.empty() || table[i].name == "工程总造价") continue;
    sum = static_cast<std::int64_t>(static_cast<double>(sum) + textToNumber(table[i].total));
  }
  return sum;
}

TEST(QuoteCommands, FullPackageTotalHoldsThroughAnySequenceOfCommands) {
  const std::vector<std::string> roomTypes{"客厅", "餐厅", "厨房", "卧室", "卫生间", "书房", "阳台", "储藏室"};
  const std::vector<std::string> names{"墙面批腻子", "工程管理费", "材料搬运费", "清水漆", ""};
  const std::vector<std::string> numbers{"0", "1", "2.5", "12.5", "3", "abc", "7%", "0.29", "1e3"};
  std::mt19937 random(20261208);
  auto pick = [&](const auto& list) { return list[random() % list.size()]; };

  for (int quote = 0; quote < 60; ++quote) {
    QuoteRequest request{.rooms = {},
                         .grade = std::string(kDecorationGrades[random() % 5]),
                         .scope = PackageScope::Full,
                         .floor = random() % 2 ? FloorChoice::WoodenFloor : FloorChoice::Tiles};
    const int rooms = 1 + static_cast<int>(random() % 5);
    for (int r = 0; r < rooms; ++r) {
      const std::string size =
          std::to_string(1000 + random() % 5000) + "." + std::to_string(random() % 10) + "*" +
          std::to_string(1000 + random() % 4000) + "*2800";
      request.rooms.push_back(RoomEntry{pick(roomTypes), size, "800*1500", "实木门", std::to_string(random() % 3), "4"});
    }
    QuotationSession session(request);
    ASSERT_TRUE(session.build(ItemPrices::defaults()).built());
    QuoteTable table = std::move(session).takeTable();

    for (int step = 0; step <= 12; ++step) {
      ASSERT_GE(table.size(), 2U);
      const QuoteItem& last = table[table.size() - 1];
      ASSERT_EQ(last.name, "全包总价格") << "quote " << quote << " step " << step;
      ASSERT_EQ(table[table.size() - 2], blank());
      ASSERT_EQ(textToNumber(last.total), static_cast<double>(expectedFullTotal(table)))
          << "quote " << quote << " step " << step;
      // Any row but the trailing pair.
      const std::size_t row = random() % (table.size() - 2);
      switch (random() % 3) {
        case 0: modifyRow(table, row, {pick(names), "M2", pick(numbers), pick(numbers)}, PackageScope::Full); break;
        case 1: deleteRow(table, row); break;
        default: addItem(table, {pick(names), pick(numbers), pick(numbers)}, PackageScope::Full); break;
      }
    }
  }
}

}  // namespace
}  // namespace decor::test
