#pragma once
// The room list as the room entry window's list shows it: the one copy of the rooms, with the
// core's column titles and alignments. Add, modify and delete go through here, so the view
// always hears of them. GUI thread only.
#include <QAbstractTableModel>
#include <cstddef>
#include <optional>
#include <vector>

#include "quotation_rows/room_list.h"

namespace decor {

class RoomListModel final : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit RoomListModel(QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

  const RoomList& rooms() const { return rooms_; }

  // RoomList's add, modify and remove, each told to the views as it happens.
  AddOutcome add(RoomEntry& input);
  bool modify(std::optional<std::size_t> selected, const RoomEntry& input);
  bool remove(std::optional<std::size_t> selected);
  // Every room at once, as an opened file holds them.
  void replaceRooms(std::vector<RoomEntry> rows);

 private:
  RoomList rooms_;
};

}  // namespace decor
