#pragma once
// Report-mode lists are tree views without a tree. The room list and the quotation table
// are views over models that give their titles and alignments.
#include <QStringList>
#include <span>
#include <vector>

#include "quotation_rows/column_format.h"

class QTreeView;

namespace decor {

// Column widths as the core's column formats give them, from the first column on. The
// titles and alignments are in the form itself.
void setReportColumnWidths(QTreeView& list, std::span<const ColumnFormat> columns);

// Keeps the columns fitted to the list's visible width, from now on: each at least as wide as
// its title, its cells and its `samples` (texts the inputs offer), the room to spare shared out
// in the proportion of the design widths.
void fitReportColumns(QTreeView& list, std::span<const ColumnFormat> columns, std::vector<QStringList> samples);

}  // namespace decor
