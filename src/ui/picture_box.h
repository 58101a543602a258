#pragma once
// A picture box: shows a picture as received (no scaling) and reports a left-button press.
#include <QLabel>

namespace decor {

class PictureBox final : public QLabel {
  Q_OBJECT

 public:
  explicit PictureBox(QWidget* parent = nullptr);

  // Shows the picture encoded in `data` as it is; empty data, or data that is no picture,
  // empties the box.
  void showPictureData(const QByteArray& data);

 signals:
  void pressed();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace decor
