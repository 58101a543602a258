#include "app/room_list_model.h"

#include <array>

#include "ui/qt_text.h"

namespace decor {

namespace {

const std::string& cell(const RoomEntry& room, int column) {
  const std::array<const std::string*, 6> cells{&room.roomType, &room.size,       &room.window,
                                                &room.doorType, &room.doorLeaves, &room.wallCount};
  return *cells[static_cast<std::size_t>(column)];
}

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
  if (role == Qt::DisplayRole) return qt(cell(rooms_.rows()[static_cast<std::size_t>(index.row())], index.column()));
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

bool RoomListModel::modify(std::optional<std::size_t> selected, const RoomEntry& input) {
  if (!rooms_.modify(selected, input)) return false;
  const int row = static_cast<int>(*selected);
  emit dataChanged(index(row, 0), index(row, columnCount() - 1), {Qt::DisplayRole});
  return true;
}

bool RoomListModel::remove(std::optional<std::size_t> selected) {
  if (!selected || *selected >= rooms_.size()) return false;  // RoomList::remove's own refusal
  const int row = static_cast<int>(*selected);
  beginRemoveRows({}, row, row);
  rooms_.remove(selected);
  endRemoveRows();
  return true;
}

void RoomListModel::replaceRooms(std::vector<RoomEntry> rows) {
  beginResetModel();
  rooms_.replaceRows(std::move(rows));
  endResetModel();
}

}  // namespace decor
