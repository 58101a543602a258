#include "app/quote_table_model.h"

#include "ui/qt_text.h"

namespace decor {

namespace {

Qt::Alignment alignmentOf(int column) {
  const ColumnAlignment side = kQuoteColumns[static_cast<std::size_t>(column)].alignment;
  return (side == ColumnAlignment::Left ? Qt::AlignLeading : Qt::AlignTrailing) | Qt::AlignVCenter;
}

bool validColumn(int column) { return column >= 0 && column < static_cast<int>(kQuoteColumns.size()); }

}  // namespace

QuoteTableModel::QuoteTableModel(QObject* parent) : QAbstractTableModel(parent) {}

int QuoteTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(table_.size());
}

int QuoteTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(kQuoteColumns.size());
}

QVariant QuoteTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || !validColumn(index.column())) return {};
  if (role == Qt::DisplayRole) return qt(rowCells(table_[static_cast<std::size_t>(index.row())])[static_cast<std::size_t>(index.column())]);
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(alignmentOf(index.column()));
  return {};
}

QVariant QuoteTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || !validColumn(section)) return {};
  if (role == Qt::DisplayRole) return qt(kQuoteColumns[static_cast<std::size_t>(section)].title);
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(alignmentOf(section));
  return {};
}

void QuoteTableModel::appendRow(const QuoteItem& row) {
  const int at = rowCount();
  beginInsertRows({}, at, at);
  table_.appendRow(row);
  endInsertRows();
}

void QuoteTableModel::replaceTable(QuoteTable table) {
  beginResetModel();
  table_ = std::move(table);
  endResetModel();
}

void QuoteTableModel::apply(const std::function<void(QuoteTable&)>& command) {
  beginResetModel();
  command(table_);
  endResetModel();
}

}  // namespace decor
