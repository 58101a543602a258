#pragma once
// The room list behind the room entry window: add, modify, delete, loading a row back into
// the inputs, the two door reactions and the package buttons. The rules are the core's
// RoomList; this class reads the controls, applies what the rules answer and keeps the list
// view in step with the rooms.
#include <QObject>
#include <QString>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "app/app_services.h"
#include "quote/quote_build.h"
#include "quote/room_list.h"

class QTreeWidget;

namespace Ui {
class RoomEntryWindow;
}

namespace decor {

class RoomListController final : public QObject {
  Q_OBJECT

 public:
  // Built by the room entry window with its form and services, which outlive it.
  // `currentGrade` reads the main window's grade when a package button is pressed.
  RoomListController(Ui::RoomEntryWindow& form, const AppServices& services, std::function<std::string()> currentGrade);

  const RoomList& rooms() const { return rooms_; }

  // The six input controls as a room, in column order.
  RoomEntry currentInput() const;
  // 铺地板 checked gives the wooden floor, anything else tiles.
  FloorChoice floorChoice() const;

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

  QTreeWidget& roomList() const;
  std::optional<std::size_t> selectedRow() const;
  void selectRow(std::size_t row);
  void showInput(const RoomEntry& room);
  void setLeaves(const std::string& leaves);
  void setDoorType(const std::string& doorType);

  Ui::RoomEntryWindow& form_;
  const AppServices& services_;
  std::function<std::string()> currentGrade_;
  RoomList rooms_;
  // Set while the window writes its own controls: those writes set off no reaction.
  bool writingInputs_ = false;
  // Set while the window selects a row itself: that selection loads nothing.
  bool selectingRow_ = false;
};

}  // namespace decor
