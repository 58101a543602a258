#include "ui/hyperlink_label.h"

#include <QMouseEvent>

namespace decor {

HyperlinkLabel::HyperlinkLabel(QWidget* parent) : QLabel(parent) {
  setCursor(Qt::PointingHandCursor);
  setTextFormat(Qt::PlainText);
  setStyleSheet(QStringLiteral("color: rgb(0, 84, 166); text-decoration: underline;"));
}

void HyperlinkLabel::setAddress(const QString& address) {
  address_ = address;
  if (text().isEmpty()) setText(address);
}

void HyperlinkLabel::mousePressEvent(QMouseEvent* event) {
  // Taken here so that the press does not reach the window behind the link.
  if (event->button() == Qt::LeftButton) {
    event->accept();
    return;
  }
  QLabel::mousePressEvent(event);
}

void HyperlinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    event->accept();
    emit released();
    return;
  }
  QLabel::mouseReleaseEvent(event);
}

}  // namespace decor
