#pragma once
// The quotation table as the quotation window's list shows it: the one copy of the customer's
// quotation, with the catalogue's column titles and alignments. Every change goes through
// here, so the view always hears of it. GUI thread only.
#include <QAbstractTableModel>
#include <functional>

#include "quotation_rows/quote_table.h"

namespace decor {

class QuoteTableModel final : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit QuoteTableModel(QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

  const QuoteTable& table() const { return table_; }

  void appendRow(const QuoteItem& row);
  // A command's result: the view shows the new table from scratch (the selection is lost).
  void replaceTable(QuoteTable table);
  // Runs a command on the table in place, then the same as replaceTable.
  void apply(const std::function<void(QuoteTable&)>& command);

 private:
  QuoteTable table_;
};

}  // namespace decor
