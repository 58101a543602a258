#pragma once
// 保存报价 (Ctrl+S) and 打开报价 (Ctrl+O) in the room entry window, and the question asked when
// its rooms would be lost. Opening a quotation file brings its rooms back into the list, its
// floor into the floor choice and its grade into the caption; saving writes the quotation of
// the list (the package last asked for, built at today's prices) as the quotation window would
// before any edit. Files are read and written on a worker thread.
//
// When the rooms count as not saved: the list holds rooms and no file saved or opened since
// the list last changed holds exactly these rooms. A file saved or opened by the quotation
// window opened from this list counts as well, since it keeps the rooms it was built from: a
// customer who saved the quotation is not asked again for its rooms, while one who answered
// 不保存 there still has the rooms here and is asked about them before they go. The floor and
// the grade are one click each and not counted.
#include <QObject>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "app/app_services.h"
#include "app/gui_dispatcher.h"
#include "app/quotation_files.h"
#include "quotation_rows/quote_build.h"
#include "quotation_rows/room_list.h"

class QAction;
class QWidget;

namespace decor {

class RoomListController;
class RoomListModel;
class UnsavedWork;

class RoomListFiles final : public QObject {
  Q_OBJECT

 public:
  RoomListFiles(QWidget& window, RoomListController& controller, RoomListModel& model, AppServices services);

  QAction* saveAction() const { return actions_.save; }
  QAction* openAction() const { return actions_.open; }

  // Ask for a file name, then save or open. Opening over rooms not saved asks first.
  void saveAs();
  void open();
  // Save to or open `path` on a worker; saveFinished / openFinished tell the end. GUI thread.
  void save(const QString& path);
  void openFile(const QString& path);

  bool unsaved() const;
  // The question, for the window's own closing and for the main window's, which takes this
  // window with it: see UnsavedWork::mayLose.
  UnsavedWork& unsavedWork() const { return *unsaved_; }

 signals:
  // GUI thread; `failure` is empty on success. The user has seen any message.
  void saveFinished(const QString& path, const QString& failure);
  void openFinished(const QString& path, const QString& failure);
  // An opened file's grade, for the main window, whose grade the caption shows.
  void gradeOpened(const QString& grade);

 private:
  // A file holds `rooms`: the list is saved while it holds them.
  void kept(const std::vector<RoomEntry>& rooms);
  void showOpened(const QuoteRequest& request);

  QWidget& window_;
  RoomListController& controller_;
  RoomListModel& model_;
  AppServices services_;
  std::shared_ptr<GuiDispatcher> dispatcher_;  // closes when the window goes
  QuotationFileActions actions_;  // children of the window
  UnsavedWork* unsaved_;  // a child of this
  std::optional<std::vector<RoomEntry>> keptRooms_;
};

}  // namespace decor
