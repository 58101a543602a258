#pragma once
// Report-mode lists are tree views without a tree. The room list and the quotation table
// are views over models that give their titles and alignments.
#include <QStringList>
#include <cstddef>
#include <span>
#include <vector>

#include "quotation_rows/column_format.h"

class QTreeView;

namespace decor {

// Column widths as the core's column formats give them, from the first column on; whatever
// the list grows beyond its present (design) width goes to `growingColumn`, so a maximised
// window fills its table. The titles and alignments are in the form itself.
void setReportColumnWidths(QTreeView& list, std::span<const ColumnFormat> columns, std::size_t growingColumn);

// Keeps the columns fitted to the list's visible width, from now on: each at least as wide as
// its title and its `samples` (texts the inputs offer), the room to spare shared out in the
// proportion of the design widths. A longer cell does not widen its column: it is cut short
// with "…" in the middle, so the model should give the whole text as its tooltip.
void fitReportColumns(QTreeView& list, std::span<const ColumnFormat> columns, std::vector<QStringList> samples);

}  // namespace decor
