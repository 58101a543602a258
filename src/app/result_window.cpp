#include "app/result_window.h"

#include <QApplication>
#include <QMouseEvent>

#include "app/message_box.h"
#include "contact/contact_rules.h"
#include "estimate/quick_estimate.h"
#include "net/phone_lookup.h"
#include "net/estimate_send.h"
#include "ui/artwork.h"
#include "ui/qt_text.h"
#include "ui/text_rule_validator.h"
#include "ui_result_window.h"

namespace decor {

namespace {

constexpr const char* kCloseQuestion = "亲，此报价可免费发到手机和邮箱哦！点击  是  即可返回免费发送！";

}  // namespace

ResultWindow::ResultWindow(AppServices services, const std::string& resultText, QWidget* parent)
    : QDialog(parent),
      ui_(std::make_unique<Ui::ResultWindow>()),
      services_(std::move(services)),
      shownText_(resultWindowText(resultText)),
      background_(artworkPicture(QStringLiteral(":/artwork/result_background.jpg"))),
      dispatcher_(GuiDispatcher::forWindow(*this)) {
  ui_->setupUi(this);
  setFixedSize(size());
  ui_->编辑框3->setValidator(new TextRuleValidator(
      [](std::string_view text) { return isPhoneBoxText(text); }, ui_->编辑框3));

  services_.state->setEstimateSent(false);
  QString text = QString::fromStdString(shownText_);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  ui_->编辑框1->setPlainText(text);

  // The result text box offers no context menu: right presses end here.
  ui_->编辑框1->viewport()->installEventFilter(this);

  ui_->编辑框2->installEventFilter(this);
  connect(ui_->编辑框3, &QLineEdit::textChanged, this, &ResultWindow::lookUpPhone);
  connect(ui_->编辑框3, &QLineEdit::returnPressed, this, &ResultWindow::sendQuote);
  connect(ui_->图形按钮1, &QAbstractButton::clicked, this, &ResultWindow::sendQuote);
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
  if (watched == ui_->编辑框2 && event->type() == QEvent::FocusOut) {
    // Checked once the focus has settled (a message box opened in the middle of the focus
    // change would upset it), and only if it went to another control of this window: another
    // program or a message box taking it leaves the half-typed address alone.
    QMetaObject::invokeMethod(
        this,
        [this] {
          const QWidget* now = QApplication::focusWidget();
          if (now != nullptr && now != ui_->编辑框2 && now->window() == this) checkEmail();
        },
        Qt::QueuedConnection);
    return false;
  }
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

void ResultWindow::checkEmail() {
  QLineEdit& box = *ui_->编辑框2;
  if (acceptableEmail(box.text().toStdString(), EmailStrictness::DesktopBox)) return;
  // Cleared before the message takes the focus, so that losing it again finds nothing to report.
  box.clear();
  showMessage(qt(kNoSuchEmail), QMessageBox::Warning);
  box.setFocus();
}

void ResultWindow::lookUpPhone(const QString& phoneText) {
  std::string digits = phoneText.toStdString();
  if (!isLookupDue(digits)) return;
  services_.workers->run([fetcher = services_.fetcher, endpoints = services_.endpoints, digits = std::move(digits),
                          dispatcher = dispatcher_, this] {
    if (!lookUpProvince(*fetcher, endpoints, digits).empty()) return;
    dispatcher->post([this, digits] { reportUnknownPhone(digits); });
  });
}

void ResultWindow::reportUnknownPhone(const std::string& lookedUp) {
  // The customer may have typed on, or moved on, meanwhile: the answer then concerns a number
  // no longer there, or would interrupt typing elsewhere.
  if (!ui_->编辑框3->hasFocus() || !lookupStillApplies(ui_->编辑框3->text().toStdString(), lookedUp)) return;
  showMessage(qt(kUnknownPhoneMessage), QMessageBox::Information);
  ui_->编辑框3->setFocus();
}

void ResultWindow::sendQuote() {
  if (sending_) return;
  if (!acceptableEmail(ui_->编辑框2->text().toStdString(), EmailStrictness::DesktopBox)) {
    checkEmail();
    return;
  }
  setWindowTitle(qt(kSendingCaption));
  std::string email = ui_->编辑框2->text().toStdString();
  std::string phone = ui_->编辑框3->text().toStdString();
  if (const auto missing = missingSendInput(email, phone)) {
    showMessage(qt(missing->message), QMessageBox::Information);
    (missing->box == MissingSendInput::Box::Email ? ui_->编辑框2 : ui_->编辑框3)->setFocus();
    return;
  }
  // One send at a time: a double click or Enter meanwhile would post the estimate twice.
  sending_ = true;
  ui_->图形按钮1->setEnabled(false);
  services_.workers->run([post = services_.postForm, endpoints = services_.endpoints, email = std::move(email),
                          phone = std::move(phone), text = shownText_, dispatcher = dispatcher_, this] {
    const std::string_view outcome = sendEstimateForm(post, endpoints, email, text, phone);
    dispatcher->post([this, outcome] { showSendOutcome(outcome); });
  });
}

void ResultWindow::showSendOutcome(std::string_view outcome) {
  setWindowTitle(qt(outcome));
  markSent();
  showMessage(qt(outcome), QMessageBox::Information);
  sending_ = false;
  ui_->图形按钮1->setEnabled(true);
}

}  // namespace decor
