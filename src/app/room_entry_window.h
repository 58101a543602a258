#pragma once
// 详细报价: the room entry window, opened modelessly from the main window and owned by it.
// It carries the form and its caption and counter; the room list's behaviour (add, modify,
// delete, the package buttons) is a controller attached with setController().
#include <QPixmap>
#include <QWidget>
#include <memory>

#include "app/app_services.h"

namespace Ui {
class RoomEntryWindow;
}

namespace decor {

class RoomEntryWindow final : public QWidget {
  Q_OBJECT

 public:
  // `caption` is the grade text followed by 详细报价！ (the created handler's caption).
  RoomEntryWindow(AppServices services, const QString& caption, QWidget* owner);
  ~RoomEntryWindow() override;

  Ui::RoomEntryWindow& form() { return *ui_; }
  const AppServices& services() const { return services_; }

  void setHelpedCounterCaption(const QString& caption);

  // The room list controller; owned by the window and gone with it.
  void setController(std::unique_ptr<QObject> controller);
  QObject* controller() const { return controller_.get(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::unique_ptr<Ui::RoomEntryWindow> ui_;
  AppServices services_;
  QPixmap background_;
  std::unique_ptr<QObject> controller_;
};

}  // namespace decor
