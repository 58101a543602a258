#pragma once
// 快速预算显示结果: the quick estimate's result text, with the boxes for sending it to the
// customer's e-mail address and phone. The sending itself is wired in by the send code
// through form(): 编辑框2 (e-mail), 编辑框3 (phone) and 图形按钮1 (点击发送).
#include <QDialog>
#include <QPixmap>
#include <memory>
#include <string>

#include "app/app_services.h"

namespace Ui {
class ResultWindow;
}

namespace decor {

class ResultWindow final : public QDialog {
  Q_OBJECT

 public:
  // The created handler runs here: the sent flag is cleared and the text box shows the result
  // text followed by the closing advice line.
  ResultWindow(AppServices services, const std::string& resultText, QWidget* parent = nullptr);
  ~ResultWindow() override;

  Ui::ResultWindow& form() { return *ui_; }

  // The text on show, with its CR LF line breaks (what a send transmits).
  const std::string& shownText() const { return shownText_; }

  // The sent flag: set after a successful send; while it is clear, closing asks first.
  void markSent() { services_.state->setQuoteSent(true); }
  bool sent() const { return services_.state->quoteSent(); }

  // Closing (the frame's close button, Esc or close()) comes through here.
  void reject() override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::unique_ptr<Ui::ResultWindow> ui_;
  AppServices services_;
  std::string shownText_;
  QPixmap background_;
};

}  // namespace decor
