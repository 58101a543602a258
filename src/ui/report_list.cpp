#include "ui/report_list.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <QTreeWidgetItem>

#include "ui/gui_thread.h"

namespace decor {

QTreeWidgetItem* appendReportRow(QTreeWidget& list, const QStringList& cells) {
  DECOR_EXPECT_GUI_THREAD("appendReportRow");
  auto* item = new QTreeWidgetItem(&list);
  const QTreeWidgetItem* header = list.headerItem();
  for (int column = 0; column < list.columnCount(); ++column) {
    if (column < cells.size()) item->setText(column, cells[column]);
    item->setTextAlignment(column, Qt::Alignment(header->textAlignment(column)));
  }
  return item;
}

void setReportColumnWidths(QTreeView& list, std::span<const ColumnFormat> columns) {
  // The designed widths hold; space right of the last column stays empty.
  list.header()->setStretchLastSection(false);
  int column = 0;
  for (const ColumnFormat& format : columns) list.setColumnWidth(column++, format.width);
}

}  // namespace decor
