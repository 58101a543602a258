#pragma once
// The room list behind the room entry window: add, modify, delete, loading a row back into
// the inputs, the two door reactions and the package buttons. The rules are the core's
// RoomList, held by the window's RoomListModel; this class reads the controls, applies what
// the rules answer and changes the rooms through the model, which the list view shows.
#include <QObject>
#include <QString>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/app_services.h"
#include "quotation_rows/quote_build.h"
#include "app/room_list_model.h"
#include "quotation_rows/room_list.h"

class QTreeView;

namespace Ui {
class RoomEntryWindow;
}

namespace decor {

class RoomListController final : public QObject {
  Q_OBJECT

 public:
  // Built by the room entry window with its form, services and the list's model, which
  // outlive it. `currentGrade` reads the main window's grade when a package button is pressed.
  RoomListController(Ui::RoomEntryWindow& form, const AppServices& services, RoomListModel& model,
                     std::function<std::string()> currentGrade);

  const RoomList& rooms() const { return model_.rooms(); }

  // Rooms read back from a saved quotation replace the list as they were stored. One the
  // build cannot read is named by the package buttons.
  void replaceRooms(std::vector<RoomEntry> rooms);

  // The six input controls as a room, in column order.
  RoomEntry currentInput() const;
  // 铺地板 checked gives the wooden floor, anything else tiles.
  FloorChoice floorChoice() const;
  void setFloorChoice(FloorChoice floor);
  // The rooms, the main window's grade and the floor, as the package button `scope` hands
  // them over.
  QuoteRequest request(PackageScope scope) const;
  // What keeps the list from being quoted, told to the user: no room, or a row stored
  // unchecked by 修改 that the build cannot read (pointed at). Returns whether it is refused.
  bool refuseToQuote();
  // The package of the last quotation asked for or opened; a half package before any.
  PackageScope package() const { return package_; }
  void setPackage(PackageScope scope) { package_ = scope; }

 signals:
  // A quotation window opened from the list saved or opened a file holding `request`.
  void quotationKept(const decor::QuoteRequest& request);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void add();
  void modify();
  void remove();
  void loadClickedRow();
  void doorTypePicked(const QString& doorType);
  void leavesChanged(const QString& leaves);
  void packageButton(PackageScope scope);

  QTreeView& roomList() const;
  std::optional<std::size_t> selectedRow() const;
  void selectRow(std::size_t row);
  void showInput(const RoomEntry& room);
  void setLeaves(const std::string& leaves);
  void setDoorType(const std::string& doorType);

  Ui::RoomEntryWindow& form_;
  const AppServices& services_;
  RoomListModel& model_;
  std::function<std::string()> currentGrade_;
  PackageScope package_ = PackageScope::Half;
  // Set while the window writes its own controls: those writes set off no reaction.
  bool writingInputs_ = false;
  // Set while the window selects a row itself: that selection loads nothing.
  bool selectingRow_ = false;
};

}  // namespace decor
