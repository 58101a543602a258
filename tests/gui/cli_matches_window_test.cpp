// decor-cli quote with table commands and the quotation window's buttons, on the same
// quotation, end with the same rows.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <fstream>
#include <sstream>

#include "app/quotation_controller.h"
#include "app/quotation_window.h"
#include "cli/commands.h"
#include "gui_test_support.h"
#include "quote_test_support.h"
#include "scratch_folder.h"

namespace decor::test {
namespace {

std::vector<QuoteItem> rowsOfTabText(const std::string& text) {
  std::vector<QuoteItem> rows;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    QStringList cells = QString::fromStdString(line).split(QLatin1Char('\t'));
    cells.resize(6);
    auto cell = [&](int i) { return cells[i].toStdString(); };
    rows.push_back({cell(0), cell(1), cell(2), cell(3), cell(4), cell(5)});
  }
  return rows;
}

TEST(CliMatchesWindow, SameEditsGiveTheSameRows) {
  const std::vector<RoomEntry> rooms{livingRoom(), RoomEntry{"厨房", "3000*2500*2800", "600*1500", "推拉门", "1", "4"},
                                     RoomEntry{"阳台", "1333*1000*2800", "0*0", "(无)", "0", "3"}};
  const ScratchFolder folder("decor-cli-matches-window");
  const std::filesystem::path file = folder / "rooms.tsv";
  {
    std::ofstream out(file, std::ios::binary);
    for (const RoomEntry& r : rooms) {
      out << r.roomType << '\t' << r.size << '\t' << r.window << '\t' << r.doorType << '\t' << r.doorLeaves << '\t'
          << r.wallCount << '\n';
    }
  }
  // Row 5 is the living room's door, 修改 to two leaves; then the row now 12th (the kitchen
  // door) deleted; then two items added; then the fee row 工程管理费 (row 27 by then) at 10%.
  std::ostringstream cliOut;
  std::ostringstream cliErr;
  const int exit = cli::runQuoteCommand(
      {"--rooms", file.string(), "--package", "全包", "--grade", "精  装  修", "--floor", "瓷砖",
       "--modify", "5", "实木门", "扇", "2", "1480", "--delete", "12", "--add", "清水漆", "3", "44.5",
       "--add", "工艺鞋柜", "1.5", "550", "--modify", "27", "工程管理费", "项", "1", "10%"},
      cliOut, cliErr);
  ASSERT_EQ(exit, 0) << cliErr.str();
  const std::vector<QuoteItem> fromCli = rowsOfTabText(cliOut.str());

  AppServices services = testServices(std::make_shared<ScriptedFetcher>());
  services.state->prices.resetToDefaults();
  QuotationWindow window(
      services,
      QuoteRequest{.rooms = rooms, .grade = "精  装  修", .scope = PackageScope::Full, .floor = FloorChoice::Tiles});
  QuotationController& controller = window.controller();
  window.show();
  controller.start();
  ASSERT_TRUE(waitUntil([&] { return !controller.building(); }));
  QTreeView& list = *control<QTreeView>(window, "超级列表框1");
  modifyRow(window, 4, {QStringLiteral("实木门"), QStringLiteral("扇"), QStringLiteral("2"), QStringLiteral("1480")});
  clickRow(list, 11);
  ASSERT_EQ(list.model()->index(11, 1).data().toString(), QStringLiteral("推拉门"));
  QTest::mouseClick(control<QPushButton>(window, "按钮1"), Qt::LeftButton);
  ASSERT_TRUE(waitUntil([&] { return controller.idle(); }));
  controller.addItem({"清水漆", "3", "44.5"});
  controller.addItem({"工艺鞋柜", "1.5", "550"});
  ASSERT_TRUE(waitUntil([&] { return controller.idle(); }));
  ASSERT_EQ(list.model()->index(26, 1).data().toString(), QStringLiteral("工程管理费"));
  modifyRow(window, 26, {QStringLiteral("工程管理费"), QStringLiteral("项"), QStringLiteral("1"), QStringLiteral("10%")});
  ASSERT_TRUE(waitUntil([&] { return controller.idle(); }));

  EXPECT_EQ(quoteRowsOf(list), fromCli);
  EXPECT_EQ(fromCli.back().name, "全包总价格");
}

}  // namespace
}  // namespace decor::test
