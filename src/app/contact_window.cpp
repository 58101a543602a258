#include "app/contact_window.h"

#include <QLabel>
#include <algorithm>

#include "app/chat_status.h"
#include "ui_contact_window.h"

namespace decor {

ContactWindow::ContactWindow(AppServices services, QWidget* parent)
    : QDialog(parent),
      ui_(std::make_unique<Ui::ContactWindow>()),
      services_(std::move(services)),
      dispatcher_(GuiDispatcher::forWindow(*this)) {
  ui_->setupUi(this);
  QLabel* hotline = ui_->标签3;
  const int rightMargin = width() - hotline->geometry().right();
  hotline->setText(hotline->text() + QLatin1Char('\n') + QString::fromStdString(services_.endpoints.hotline));
  // The number is a deployment value: the label grows to show all of it, the window with it.
  hotline->resize(hotline->size().expandedTo(hotline->sizeHint()));
  resize(std::max(width(), hotline->geometry().right() + rightMargin), height());
  setFixedSize(size());
  ui_->超级链接框3->setAddress(QString::fromStdString(services_.endpoints.website));

  setUpChatStatusBox(*ui_->图片框1, services_);
  connect(ui_->超级链接框3, &HyperlinkLabel::released, this,
          [this] { services_.openInBrowser(ui_->超级链接框3->address().toStdString()); });

  loadChatStatusPicture(services_, dispatcher_, ui_->图片框1);
}

ContactWindow::~ContactWindow() = default;

}  // namespace decor
