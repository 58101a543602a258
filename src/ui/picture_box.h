#pragma once
// A picture box: shows a picture as received (no scaling) and reports a left-button press.
// Without a picture it can show a placeholder text in a button-like frame, so that a
// clickable place never shows as an empty gap.
#include <QLabel>
#include <QString>

namespace decor {

class PictureBox final : public QLabel {
  Q_OBJECT

 public:
  explicit PictureBox(QWidget* parent = nullptr);

  // Shows the picture encoded in `data` as it is; empty data, or data that is no picture,
  // empties the box.
  void showPictureData(const QByteArray& data);

  // The text shown while the box has no picture; empty shows nothing.
  void setPlaceholder(const QString& text);
  QString placeholder() const { return placeholder_; }
  bool showsPicture() const;

 signals:
  void pressed();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  QString placeholder_;
};

}  // namespace decor
