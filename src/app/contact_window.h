#pragma once
// 我要做精确报价以及设计: the designer appointment window, with the chat status picture,
// the hotline and a link to the company website.
#include <QDialog>
#include <memory>

#include "app/app_services.h"
#include "app/gui_dispatcher.h"

namespace Ui {
class ContactWindow;
}

namespace decor {

class ContactWindow final : public QDialog {
  Q_OBJECT

 public:
  // The created handler runs here: the status picture starts loading on a worker.
  explicit ContactWindow(AppServices services, QWidget* parent = nullptr);
  ~ContactWindow() override;

 private:
  std::unique_ptr<Ui::ContactWindow> ui_;
  AppServices services_;
  std::shared_ptr<GuiDispatcher> dispatcher_;  // closes when the window goes
};

}  // namespace decor
