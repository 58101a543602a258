#include "quote_test_support.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include "app/quotation_controller.h"
#include "app/quotation_window.h"
#include "gui_test_support.h"
#include "ui/spin_text_box.h"

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

std::vector<QuoteItem> quoteRowsOf(const QTreeView& list) {
  std::vector<QuoteItem> rows;
  const QAbstractItemModel& model = *list.model();
  auto cellAt = [&](int row, int column) { return model.index(row, column).data().toString().toStdString(); };
  for (int i = 0; i < model.rowCount(); ++i) {
    rows.push_back({cellAt(i, 0), cellAt(i, 1), cellAt(i, 2), cellAt(i, 3), cellAt(i, 4), cellAt(i, 5)});
  }
  return rows;
}

std::vector<RoomEntry> roomRowsOf(const QAbstractItemView& list) {
  std::vector<RoomEntry> rows;
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

void enterRoom(QWidget& window, const RoomEntry& room) {
  control<SpinTextBox>(window, "编辑框1")->setEditText(QString::fromStdString(room.doorLeaves));
  control<QComboBox>(window, "组合框2")->setCurrentText(QString::fromStdString(room.roomType));
  control<QLineEdit>(window, "编辑框5")->setText(QString::fromStdString(room.size));
  control<QComboBox>(window, "组合框3")->setCurrentText(QString::fromStdString(room.window));
  control<QComboBox>(window, "组合框4")->setCurrentText(QString::fromStdString(room.doorType));
  control<QComboBox>(window, "组合框5")->setCurrentText(QString::fromStdString(room.wallCount));
}

std::vector<QuoteItem> quotationRowsOpenedBy(QAbstractButton& packageButton) {
  std::vector<QuoteItem> rows;
  ModalAnswerer answerer({}, [&](QWidget& dialog) {
    auto* quotation = qobject_cast<QuotationWindow*>(&dialog);
    if (quotation == nullptr) return;
    ASSERT_TRUE(waitUntil([&] { return !quotation->controller().building(); }));
    rows = quoteRowsOf(*control<QTreeView>(*quotation, "超级列表框1"));
  });
  QTest::mouseClick(&packageButton, Qt::LeftButton);
  return rows;
}

void modifyRow(QWidget& window, int row, const std::vector<QString>& panel) {
  clickRow(*control<QTreeView>(window, "超级列表框1"), row);
  control<QLineEdit>(window, "编辑框1")->setText(panel.at(0));
  control<QLineEdit>(window, "编辑框2")->setText(panel.at(1));
  control<SpinTextBox>(window, "编辑框3")->setEditText(panel.at(2));
  control<QLineEdit>(window, "编辑框4")->setText(panel.at(3));
  QTest::mouseClick(control<QPushButton>(window, "按钮3"), Qt::LeftButton);
}

}  // namespace decor::test
