#pragma once
// 添加项目: the dialog for adding an item to the quotation by hand. 取消 closes it; 确定添加 and
// the default prices belong to the quotation controller, attached with setController().
#include <QDialog>
#include <memory>

namespace Ui {
class AddItemWindow;
}

namespace decor {

class AddItemWindow final : public QDialog {
  Q_OBJECT

 public:
  explicit AddItemWindow(QWidget* parent = nullptr);
  ~AddItemWindow() override;

  Ui::AddItemWindow& form() { return *ui_; }

  void setController(std::unique_ptr<QObject> controller);
  QObject* controller() const { return controller_.get(); }

 private:
  std::unique_ptr<Ui::AddItemWindow> ui_;
  std::unique_ptr<QObject> controller_;
};

}  // namespace decor
