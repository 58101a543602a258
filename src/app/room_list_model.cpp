#include "app/room_list_model.h"

#include "ui/qt_text.h"

namespace decor {

namespace {

Qt::Alignment alignmentOf(int column) {
  const ColumnAlignment side = kRoomListColumns[static_cast<std::size_t>(column)].alignment;
  return (side == ColumnAlignment::Left ? Qt::AlignLeading : Qt::AlignTrailing) | Qt::AlignVCenter;
}

bool validColumn(int column) { return column >= 0 && column < static_cast<int>(kRoomListColumns.size()); }

}  // namespace

RoomListModel::RoomListModel(QObject* parent) : QAbstractTableModel(parent) {}

int RoomListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rooms_.size());
}

int RoomListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(kRoomListColumns.size());
}

QVariant RoomListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || !validColumn(index.column())) return {};
  // The columns keep their widths: a longer text is cut short in the list and read whole here.
  if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
    return qt(roomCells(rooms_.rows()[static_cast<std::size_t>(index.row())])[static_cast<std::size_t>(index.column())]);
  }
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(alignmentOf(index.column()));
  return {};
}

QVariant RoomListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || !validColumn(section)) return {};
  if (role == Qt::DisplayRole) return qt(kRoomListColumns[static_cast<std::size_t>(section)].title);
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(alignmentOf(section));
  return {};
}

AddOutcome RoomListModel::add(RoomEntry& input) {
  // Checked first: the view must hear of the row before it is there.
  const AddOutcome outcome = admitRoom(input);
  if (!outcome.added) return outcome;
  const int at = rowCount();
  beginInsertRows({}, at, at);
  rooms_.add(input);
  endInsertRows();
  return outcome;
}

ModifyOutcome RoomListModel::modify(std::optional<std::size_t> selected, const RoomEntry& input) {
  ModifyOutcome outcome = rooms_.modify(selected, input);
  if (!outcome.written) return outcome;
  const int row = static_cast<int>(*selected);
  emit dataChanged(index(row, 0), index(row, columnCount() - 1), {Qt::DisplayRole, Qt::ToolTipRole});
  return outcome;
}

void RoomListModel::replaceAll(std::vector<RoomEntry> rooms) {
  beginResetModel();
  rooms_.replaceAll(std::move(rooms));
  endResetModel();
}

bool RoomListModel::remove(std::optional<std::size_t> selected) {
  if (!selected || *selected >= rooms_.size()) return false;  // RoomList::remove's own refusal
  const int row = static_cast<int>(*selected);
  beginRemoveRows({}, row, row);
  rooms_.remove(selected);
  endRemoveRows();
  return true;
}

}  // namespace decor
