#include "app/room_list_controller.h"

#include <QLineEdit>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QPointer>
#include <QRadioButton>
#include <QTreeView>

#include "app/message_box.h"
#include "app/quotation_controller.h"
#include "ui/picture_button.h"
#include "ui/qt_text.h"
#include "ui/spin_text_box.h"
#include "ui_room_entry_window.h"

namespace decor {

RoomListController::RoomListController(Ui::RoomEntryWindow& form, const AppServices& services, RoomListModel& model,
                                       std::function<std::string()> currentGrade)
    : form_(form), services_(services), model_(model), currentGrade_(std::move(currentGrade)) {
  QAbstractButton* addButton = form_.按钮4;
  QAbstractButton* modifyButton = form_.按钮8;
  QAbstractButton* deleteButton = form_.按钮7;
  QAbstractButton* halfPackageButton = form_.按钮5;
  QAbstractButton* fullPackageButton = form_.按钮6;
  QComboBox* doorTypeBox = form_.组合框4;
  SpinTextBox* leavesBox = form_.编辑框1;
  connect(addButton, &QAbstractButton::clicked, this, &RoomListController::add);
  connect(modifyButton, &QAbstractButton::clicked, this, &RoomListController::modify);
  connect(deleteButton, &QAbstractButton::clicked, this, &RoomListController::remove);
  // Only a left press reaches the list, so the selected row is the one the inputs were loaded
  // from; a row the keyboard moves to is loaded too.
  roomList().viewport()->installEventFilter(this);
  connect(&roomList(), &QAbstractItemView::pressed, this, &RoomListController::loadClickedRow);
  connect(roomList().selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    if (!selectingRow_) loadClickedRow();
  });
  // Picked from the list only: typing a door type changes nothing.
  connect(doorTypeBox, &QComboBox::textActivated, this, &RoomListController::doorTypePicked);
  connect(leavesBox, &SpinTextBox::textChanged, this, &RoomListController::leavesChanged);
  connect(halfPackageButton, &QAbstractButton::clicked, this, [this] { packageButton(PackageScope::Half); });
  connect(fullPackageButton, &QAbstractButton::clicked, this, [this] { packageButton(PackageScope::Full); });
}

QTreeView& RoomListController::roomList() const { return *form_.超级列表框1; }

void RoomListController::replaceRooms(std::vector<RoomEntry> rooms) { model_.replaceAll(std::move(rooms)); }

RoomEntry RoomListController::currentInput() const {
  return RoomEntry{
      .roomType = form_.组合框2->currentText().toStdString(),
      .size = form_.编辑框5->text().toStdString(),
      .window = form_.组合框3->currentText().toStdString(),
      .doorType = form_.组合框4->currentText().toStdString(),
      .doorLeaves = form_.编辑框1->editText().toStdString(),
      .wallCount = form_.组合框5->currentText().toStdString(),
  };
}

FloorChoice RoomListController::floorChoice() const {
  return form_.单选框1->isChecked() ? FloorChoice::WoodenFloor : FloorChoice::Tiles;
}

void RoomListController::setFloorChoice(FloorChoice floor) {
  (floor == FloorChoice::WoodenFloor ? form_.单选框1 : form_.单选框2)->setChecked(true);
}

void RoomListController::add() {
  RoomEntry input = currentInput();
  const AddOutcome outcome = model_.add(input);
  // A "(无)" door has had its leaves set to 0, added or not.
  if (input.doorLeaves != form_.编辑框1->editText().toStdString()) setLeaves(input.doorLeaves);
  if (!outcome.added) showMessage(qt(outcome.message), QMessageBox::Information);
}

void RoomListController::modify() {
  const std::optional<std::size_t> row = selectedRow();
  const RoomEntry input = currentInput();
  const ModifyOutcome outcome = model_.modify(row, input);
  if (!outcome.message.empty()) {
    showMessage(qt(outcome.message), QMessageBox::Information);
    return;
  }
  roomList().setFocus();
}

void RoomListController::remove() {
  const std::optional<std::size_t> row = selectedRow();
  if (!model_.remove(row)) return;
  // The row that moves up into the place is not selected: a second 删除 deletes nothing.
  roomList().clearSelection();
}

bool RoomListController::eventFilter(QObject* watched, QEvent* event) {
  if (watched == roomList().viewport() &&
      (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) &&
      static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) {
    return true;
  }
  return QObject::eventFilter(watched, event);
}

void RoomListController::loadClickedRow() {
  if (const std::optional<RoomEntry> room = rooms().loadRow(selectedRow())) showInput(*room);
}

void RoomListController::doorTypePicked(const QString& doorType) {
  if (writingInputs_) return;
  setLeaves(leavesForDoorType(doorType.toStdString()));
}

void RoomListController::leavesChanged(const QString& leaves) {
  if (writingInputs_) return;
  const LeavesReaction reaction = reactToLeaves(leaves.toStdString());
  if (reaction.leaves) setLeaves(*reaction.leaves);
  if (reaction.doorType) setDoorType(*reaction.doorType);
}

QuoteRequest RoomListController::request(PackageScope scope) const {
  return QuoteRequest{.rooms = rooms().rows(), .grade = currentGrade_(), .scope = scope, .floor = floorChoice()};
}

bool RoomListController::refuseToQuote() {
  if (const std::optional<std::string_view> warning = rooms().packageButtonWarning()) {
    showMessage(qt(*warning), QMessageBox::Warning);
    return true;
  }
  // A stored room the build cannot read: select it and load it into the inputs, so that the
  // next 修改 mends that room, and say which one and why.
  const std::optional<UnreadableRoom> unreadable = findUnreadableRoom(rooms().rows());
  if (!unreadable) return false;
  selectRow(unreadable->row);
  showInput(rooms().rows()[unreadable->row]);
  showMessage(qt(refusedRoomMessage(rooms().rows(), *unreadable)), QMessageBox::Information);
  return true;
}

void RoomListController::packageButton(PackageScope scope) {
  if (refuseToQuote()) return;
  package_ = scope;
  // Modal without owner; the window may be gone when this returns, so nothing follows.
  showQuotationWindow(
      services_, request(scope),
      [self = QPointer<RoomListController>(this)](const QuoteRequest& kept) {
        if (self) emit self->quotationKept(kept);
      });
}

std::optional<std::size_t> RoomListController::selectedRow() const {
  const QModelIndexList selected = roomList().selectionModel()->selectedRows();
  if (selected.isEmpty()) return std::nullopt;
  return static_cast<std::size_t>(selected.front().row());
}

void RoomListController::selectRow(std::size_t row) {
  QTreeView& list = roomList();
  const QModelIndex index = model_.index(static_cast<int>(row), 0);
  if (!index.isValid()) return;
  // The caller loads the row itself: a click's rule skips a row without a room type, and a
  // reported row must be loaded whatever it holds.
  selectingRow_ = true;
  list.setCurrentIndex(index);
  selectingRow_ = false;
  list.scrollTo(index);
}

void RoomListController::showInput(const RoomEntry& room) {
  writingInputs_ = true;
  form_.组合框2->setCurrentText(qt(room.roomType));
  form_.编辑框5->setText(qt(room.size));
  form_.组合框3->setCurrentText(qt(room.window));
  form_.组合框4->setCurrentText(qt(room.doorType));
  form_.编辑框1->setEditText(qt(room.doorLeaves));
  form_.组合框5->setCurrentText(qt(room.wallCount));
  writingInputs_ = false;
  // Long sizes overflow their narrow boxes: show where they begin, not where they end.
  form_.编辑框5->setCursorPosition(0);
  form_.组合框3->lineEdit()->setCursorPosition(0);
}

void RoomListController::setLeaves(const std::string& leaves) {
  writingInputs_ = true;
  form_.编辑框1->setEditText(qt(leaves));
  writingInputs_ = false;
}

void RoomListController::setDoorType(const std::string& doorType) {
  writingInputs_ = true;
  form_.组合框4->setCurrentText(qt(doorType));
  writingInputs_ = false;
}

}  // namespace decor
