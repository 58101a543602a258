#pragma once
// 详细报价: the room entry window, opened modelessly from the main window and owned by it.
// It carries the form and its caption and counter; the room list's behaviour (add, modify,
// delete, the package buttons) is its RoomListController, built with the window.
#include <QPixmap>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "app/app_services.h"

namespace Ui {
class RoomEntryWindow;
}

namespace decor {

class RoomListController;
class RoomListFiles;
class RoomListModel;

class RoomEntryWindow final : public QWidget {
  Q_OBJECT

 public:
  // `caption` is the grade text followed by 详细报价！ (the created handler's caption);
  // `currentGrade` reads the main window's grade when a package button is pressed.
  RoomEntryWindow(AppServices services, const QString& caption, std::function<std::string()> currentGrade,
                  QWidget* owner);
  ~RoomEntryWindow() override;

  void setHelpedCounterCaption(const QString& caption);

  RoomListController& controller() const { return *controller_; }
  // 保存报价 and 打开报价; owned by the window.
  RoomListFiles& files() const { return *files_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  // Rooms not saved: asks whether to save first.
  void closeEvent(QCloseEvent* event) override;

 private:
  std::unique_ptr<Ui::RoomEntryWindow> ui_;
  RoomListModel* model_;  // a child of the window
  AppServices services_;
  QPixmap background_;
  std::unique_ptr<RoomListController> controller_;
  RoomListFiles* files_ = nullptr;  // a child of the window
};

}  // namespace decor
