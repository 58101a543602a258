#pragma once
// 快速预算显示结果: the quick estimate's result text, with the boxes for sending it to the
// customer's e-mail address and phone: 编辑框2 (e-mail, checked when left), 编辑框3 (phone,
// looked up at its seventh digit; Enter sends) and 图形按钮1 (点击发送). The lookup and the
// send run on workers; their answers come back through the window's dispatcher.
#include <QDialog>
#include <QPixmap>
#include <memory>
#include <string>
#include <string_view>

#include "app/app_services.h"
#include "app/gui_dispatcher.h"

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

  // The text on show, with its CR LF line breaks (what a send transmits).
  const std::string& shownText() const { return shownText_; }

  // The sent flag: set after every send that reached the server; while clear, closing asks first.
  void markSent() { services_.state->setEstimateSent(true); }
  bool sent() const { return services_.state->estimateSent(); }

  // Closing (the frame's close button, Esc or close()) comes through here.
  void reject() override;

  // The e-mail box was left: an address without "@" is cleared, with a warning.
  void checkEmail();
  // The phone box changed: at exactly seven digits their number block is looked up on a
  // worker; an unknown block is reported when the answer arrives.
  void lookUpPhone(const QString& phoneText);
  // 点击发送 or Enter in the phone box: checks both boxes, then posts on a worker. While a send
  // runs, the button is disabled and Enter sends nothing; both work again once its answer has
  // been shown.
  void sendQuote();

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void reportUnknownPhone(const std::string& lookedUp);
  void showSendOutcome(std::string_view outcome);

  std::unique_ptr<Ui::ResultWindow> ui_;
  AppServices services_;
  std::string shownText_;
  QPixmap background_;
  std::shared_ptr<GuiDispatcher> dispatcher_;  // closes when the window goes
  bool sending_ = false;
};

}  // namespace decor
