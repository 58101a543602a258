#include "quote_test_support.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QTest>
#include <QTreeWidget>

namespace decor {

void PrintTo(const RoomEntry& room, std::ostream* out) {
  *out << "{" << room.roomType << " | " << room.size << " | " << room.window << " | " << room.doorType << " | "
       << room.doorLeaves << " | " << room.wallCount << "}";
}

void PrintTo(const QuoteItem& row, std::ostream* out) {
  *out << "{" << row.number << " | " << row.name << " | " << row.unit << " | " << row.quantity << " | "
       << row.unitPrice << " | " << row.total << "}";
}

}  // namespace decor

namespace decor::test {

namespace {

std::string cell(const QTreeWidgetItem& item, int column) { return item.text(column).toStdString(); }

}  // namespace

std::vector<RoomEntry> roomRowsOf(const QTreeWidget& list) {
  std::vector<RoomEntry> rows;
  for (int i = 0; i < list.topLevelItemCount(); ++i) {
    const QTreeWidgetItem& item = *list.topLevelItem(i);
    rows.push_back({cell(item, 0), cell(item, 1), cell(item, 2), cell(item, 3), cell(item, 4), cell(item, 5)});
  }
  return rows;
}

std::vector<QuoteItem> quoteRowsOf(const QTreeView& list) {
  std::vector<QuoteItem> rows;
  const QAbstractItemModel& model = *list.model();
  auto cellAt = [&](int row, int column) { return model.index(row, column).data().toString().toStdString(); };
  for (int i = 0; i < model.rowCount(); ++i) {
    rows.push_back({cellAt(i, 0), cellAt(i, 1), cellAt(i, 2), cellAt(i, 3), cellAt(i, 4), cellAt(i, 5)});
  }
  return rows;
}

bool pickItem(QComboBox& box, const QString& text) {
  const int index = box.findText(text, Qt::MatchExactly);
  if (index < 0) return false;
  box.showPopup();
  QAbstractItemView* view = box.view();
  if (!QTest::qWaitForWindowExposed(view->window())) return false;
  const QModelIndex item = view->model()->index(index, box.modelColumn());
  view->scrollTo(item);  // a long list shows only part of its items
  const QRect rect = view->visualRect(item);
  QTest::mouseMove(view->viewport(), rect.center());
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
  return QTest::qWaitFor([&] { return !view->window()->isVisible(); }, 1000) && box.currentIndex() == index;
}

void clickRow(QTreeView& list, int row, Qt::MouseButton button) {
  const QModelIndex index = list.model()->index(row, 1);
  list.scrollTo(index);
  QTest::mouseClick(list.viewport(), button, {}, list.visualRect(index).center());
}

RoomEntry livingRoom() { return RoomEntry{"客厅", "3200*2800*2920", "800*1500", "实木门", "1", "4"}; }

std::vector<QuoteItem> livingRoomComfortQuote() {
  return {
      {"", "客厅", "", "", "", ""},
      {"1", "顶面批腻子", "M2", "8.96", "13", "116.48"},
      {"2", "墙面批腻子", "M2", "34.44", "12", "413.28"},
      {"3", "墙顶面乳胶漆", "M2", "43.4", "10", "434"},
      {"4", "实木门", "扇", "1", "1480", "1480"},
      {"5", "局部吊顶", "M", "6", "115", "690"},
      {"6", "电视背景墙", "项", "1", "1200", "1200"},
      {"7", "鞋柜制作", "M", "1", "580", "580"},
      {"", "", "", "", "", ""},
      {"", "其它的", "", "", "", ""},
      {"", "材料搬运费", "户", "1", "2%", "98.26"},
      {"", "垃圾清理费用", "户", "1", "1%", "49.13"},
      {"", "工程管理费", "项", "1", "8%", "393.04"},
      {"", "", "", "", "", ""},
      {"", "工程总造价", "", "", "", "5453"},
  };
}

std::vector<QuoteItem> livingRoomFullQuote() {
  std::vector<QuoteItem> rows = livingRoomComfortQuote();
  for (const QuoteItem& row : {QuoteItem{}, QuoteItem{"", "实木地板", "M2", "8.96", "160", "1433"}, QuoteItem{},
                               QuoteItem{"", "全包总价格", "", "", "", "6886"}}) {
    rows.push_back(row);
  }
  return rows;
}

}  // namespace decor::test
