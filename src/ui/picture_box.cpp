#include "ui/picture_box.h"

#include <QImage>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

#include "ui/gui_thread.h"

namespace decor {

PictureBox::PictureBox(QWidget* parent) : QLabel(parent) {
  setAlignment(Qt::AlignCenter);
  setCursor(Qt::PointingHandCursor);
}

void PictureBox::showPictureData(const QByteArray& data) {
  DECOR_EXPECT_GUI_THREAD("PictureBox::showPictureData");
  const QImage picture = QImage::fromData(data);
  if (picture.isNull()) {
    clear();
    return;
  }
  setPixmap(QPixmap::fromImage(picture));
}

void PictureBox::setPlaceholder(const QString& text) {
  placeholder_ = text;
  update();
}

bool PictureBox::showsPicture() const { return !pixmap().isNull(); }

void PictureBox::paintEvent(QPaintEvent* event) {
  if (showsPicture() || placeholder_.isEmpty()) {
    QLabel::paintEvent(event);
    return;
  }
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  QLinearGradient fill(frame.topLeft(), frame.bottomLeft());
  fill.setColorAt(0, QColor(0xFA, 0xFC, 0xFF));
  fill.setColorAt(1, QColor(0xE2, 0xEA, 0xF4));
  painter.setPen(QColor(0x9C, 0xB2, 0xCC));
  painter.setBrush(fill);
  painter.drawRoundedRect(frame, 6, 6);
  painter.setPen(QColor(0x23, 0x4A, 0x86));
  painter.drawText(rect(), Qt::AlignCenter, fontMetrics().elidedText(placeholder_, Qt::ElideRight, width() - 4));
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    event->accept();
    emit pressed();
    return;
  }
  QLabel::mousePressEvent(event);
}

}  // namespace decor
