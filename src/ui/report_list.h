#pragma once
// Report-mode lists (the room list, the quotation table) are QTreeWidgets without a tree:
// the header item carries each column's alignment, and rows take it over.
#include <QStringList>
#include <span>

#include "quote/column_format.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace decor {

// Appends a row of texts (missing cells stay empty), each aligned like its column header.
QTreeWidgetItem* appendReportRow(QTreeWidget& list, const QStringList& cells);

// Column widths as the core's column formats give them, from the first column on. The
// titles and alignments are in the form itself.
void setReportColumnWidths(QTreeWidget& list, std::span<const ColumnFormat> columns);

}  // namespace decor
