#include "ui/hyperlink_label.h"

#include <QMouseEvent>

namespace decor {

namespace {

constexpr const char* kLinkStyle = "color: rgb(0, 84, 166); text-decoration: underline;";

}  // namespace

HyperlinkLabel::HyperlinkLabel(QWidget* parent) : QLabel(parent) {
  setCursor(Qt::PointingHandCursor);
  setTextFormat(Qt::PlainText);
  setStyleSheet(QString::fromLatin1(kLinkStyle));
}

void HyperlinkLabel::setAddress(const QString& address) {
  address_ = address;
  if (text().isEmpty()) {
    QString shown = address;
    for (const QString& scheme : {QStringLiteral("http://"), QStringLiteral("https://")}) {
      if (shown.startsWith(scheme, Qt::CaseInsensitive)) shown.remove(0, scheme.size());
    }
    setText(shown);
  }
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
