// The quotation window's model under Qt's own model checker, in fatal mode: any broken
// promise to the views (counts, signals, parents) while rows come and go ends the run.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <functional>
#include <string>
#include <vector>

#include "app/quote_table_model.h"
#include "living_room_quote.h"
#include "quotation_rows/quote_commands.h"

namespace decor {
namespace {

// What a view reads from the model, row by row.
std::vector<QuoteItem> shownRows(const QuoteTableModel& model) {
  std::vector<QuoteItem> rows;
  for (int r = 0; r < model.rowCount(); ++r) {
    auto text = [&](int column) { return model.index(r, column).data().toString().toStdString(); };
    rows.push_back(QuoteItem{text(0), text(1), text(2), text(3), text(4), text(5)});
  }
  return rows;
}

TEST(QuoteTableModel, KeepsItsPromisesWhileRowsAreAppendedEditedRemovedAndReplaced) {
  QuoteTableModel model;
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);

  // Each step changes the model and a plain table the same way; the view must show the table.
  QuoteTable expected;
  for (const QuoteItem& row : test::livingRoomComfortQuote()) {
    model.appendRow(row);
    expected.appendRow(row);
    ASSERT_EQ(shownRows(model), expected.rows());
  }
  const ItemEdit edit{.name = "墙面批腻子", .unit = "M2", .quantity = "40", .unitPrice = "12"};
  struct Step {
    const char* what;
    std::function<void(QuoteTable&)> change;
  };
  const std::vector<Step> steps{
      {"edit a row", [&](QuoteTable& t) { modifyRow(t, 2, edit, PackageScope::Half); }},
      {"remove a row", [](QuoteTable& t) { deleteRow(t, 4); }},
      {"add an item", [](QuoteTable& t) { addItem(t, AddedItem{"铲墙面", "10", "8"}, PackageScope::Half); }},
      {"remove the last row", [](QuoteTable& t) { deleteRow(t, t.size() - 1); }},
      {"empty it", [](QuoteTable& t) { t = QuoteTable(); }},
  };
  for (const Step& step : steps) {
    model.apply(step.change);
    step.change(expected);
    EXPECT_EQ(shownRows(model), expected.rows()) << step.what;
  }

  // A whole new table in place of the empty one, then a shorter one in place of that.
  QuoteTable replacement;
  for (const QuoteItem& row : test::livingRoomSection()) replacement.appendRow(row);
  model.replaceTable(replacement);
  EXPECT_EQ(shownRows(model), replacement.rows());
  QuoteTable shorter;
  shorter.appendRow(replacement[1]);
  model.replaceTable(shorter);
  EXPECT_EQ(shownRows(model), std::vector<QuoteItem>{replacement[1]});
  model.appendRow(replacement[2]);
  EXPECT_EQ(shownRows(model), (std::vector<QuoteItem>{replacement[1], replacement[2]}));
}

}  // namespace
}  // namespace decor
