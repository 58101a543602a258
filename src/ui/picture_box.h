#pragma once
// A picture box: shows a picture as received (no scaling) and reports a left-button press.
#include <QLabel>

namespace decor {

class PictureBox final : public QLabel {
  Q_OBJECT

 public:
  explicit PictureBox(QWidget* parent = nullptr);

  // Shows the picture as it is; a null picture (nothing fetched, or no picture) empties the box.
  void showPicture(const QImage& picture);

 signals:
  void pressed();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace decor
