#include "ui/picture_box.h"

#include <QImage>
#include <QMouseEvent>
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

void PictureBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    event->accept();
    emit pressed();
    return;
  }
  QLabel::mousePressEvent(event);
}

}  // namespace decor
