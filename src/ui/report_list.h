#pragma once
// Report-mode lists (the room list, the quotation table) are QTreeWidgets without a tree:
// the header item carries each column's alignment, and rows take it over.
#include <QStringList>
#include <initializer_list>

class QTreeWidget;
class QTreeWidgetItem;

namespace decor {

// Appends a row of texts (missing cells stay empty), each aligned like its column header.
QTreeWidgetItem* appendReportRow(QTreeWidget& list, const QStringList& cells);

// Column widths in pixels, from the first column on.
void setReportColumnWidths(QTreeWidget& list, std::initializer_list<int> widths);

}  // namespace decor
