#pragma once
// 添加项目: the dialog for adding an item to the quotation by hand. Picking an item writes its
// default price; 确定添加 hands the three texts on as they stand and closes the dialog; 取消
// closes it without change.
#include <QDialog>
#include <memory>

#include "quotation_rows/quote_commands.h"

namespace Ui {
class AddItemWindow;
}

namespace decor {

class AddItemWindow final : public QDialog {
  Q_OBJECT

 public:
  explicit AddItemWindow(QWidget* parent = nullptr);
  ~AddItemWindow() override;

 signals:
  void itemConfirmed(const decor::AddedItem& item);

 private:
  std::unique_ptr<Ui::AddItemWindow> ui_;
};

}  // namespace decor
