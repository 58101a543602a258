#include "app/result_window.h"

#include <QMouseEvent>

#include "app/message_box.h"
#include "estimate/quick_estimate.h"
#include "ui/artwork.h"
#include "text/input_rules.h"
#include "ui/text_rule_validator.h"
#include "ui_result_window.h"

namespace decor {

namespace {

constexpr std::size_t kPhoneDigits = 11;
constexpr const char* kCloseQuestion = "亲，此报价可免费发到手机和邮箱哦！点击  是  即可返回免费发送！";

}  // namespace

ResultWindow::ResultWindow(AppServices services, const std::string& resultText, QWidget* parent)
    : QDialog(parent),
      ui_(std::make_unique<Ui::ResultWindow>()),
      services_(std::move(services)),
      shownText_(resultWindowText(resultText)),
      background_(artworkPicture(QStringLiteral(":/artwork/result_background.jpg"))) {
  ui_->setupUi(this);
  setFixedSize(size());
  ui_->编辑框3->setValidator(new TextRuleValidator(
      [](std::string_view text) { return isPhoneDigits(text, kPhoneDigits); }, ui_->编辑框3));

  services_.state->setQuoteSent(false);
  QString text = QString::fromStdString(shownText_);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  ui_->编辑框1->setPlainText(text);

  // The result text box offers no context menu: right presses end here.
  ui_->编辑框1->viewport()->installEventFilter(this);
}

ResultWindow::~ResultWindow() = default;

void ResultWindow::reject() {
  if (!sent() && showMessage(QString::fromUtf8(kCloseQuestion), QMessageBox::Information,
                             QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes) {
    return;  // stays open so that the user can send
  }
  QDialog::reject();
}

void ResultWindow::paintEvent(QPaintEvent*) { paintBackground(*this, background_); }

bool ResultWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ui_->编辑框1->viewport()) {
    const auto type = event->type();
    if ((type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
         type == QEvent::MouseButtonDblClick) &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
      return true;
    }
    if (type == QEvent::ContextMenu) return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace decor
