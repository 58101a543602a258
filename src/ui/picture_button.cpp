#include "ui/picture_button.h"

#include <QPainter>
#include <QPainterPath>

#include "ui/artwork.h"

namespace decor {

PictureButton::PictureButton(QWidget* parent) : QAbstractButton(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setCursor(Qt::PointingHandCursor);
}

void PictureButton::setNormalPicture(const QString& resourcePath) {
  normalPath_ = resourcePath;
  normal_ = artworkPicture(resourcePath);
  update();
}

void PictureButton::setHoverPicture(const QString& resourcePath) {
  hoverPath_ = resourcePath;
  hover_ = artworkPicture(resourcePath);
  update();
}

bool PictureButton::showsHoverPicture() const { return mouseOver_ && isEnabled() && !hover_.isNull(); }

QSize PictureButton::sizeHint() const { return normal_.isNull() ? QSize(80, 24) : normal_.size(); }

void PictureButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QPixmap& picture = showsHoverPicture() ? hover_ : normal_;
  // A pressed button sinks by one pixel; a disabled one fades so that a running estimate shows.
  const int sink = isDown() ? 1 : 0;
  if (!isEnabled()) painter.setOpacity(0.45);
  painter.drawPixmap(rect().translated(sink, sink), picture);
  painter.setOpacity(1.0);
  if (hasFocus()) {
    QPen pen(QColor(255, 255, 255, 200), 1, Qt::DotLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(rect()).adjusted(3.5, 3.5, -3.5, -3.5), 5, 5);
  }
}

void PictureButton::enterEvent(QEnterEvent* event) {
  mouseOver_ = true;
  update();
  QAbstractButton::enterEvent(event);
}

void PictureButton::leaveEvent(QEvent* event) {
  mouseOver_ = false;
  update();
  QAbstractButton::leaveEvent(event);
}

}  // namespace decor
