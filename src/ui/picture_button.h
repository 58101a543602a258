#pragma once
// A button drawn entirely by two pictures: one normally and one while the mouse is over it.
// Its caption is part of the pictures; text() carries the same words for tests and
// accessibility but is not drawn.
#include <QAbstractButton>
#include <QPixmap>
#include <QString>

namespace decor {

class PictureButton final : public QAbstractButton {
  Q_OBJECT
  Q_PROPERTY(QString normalPicture READ normalPicture WRITE setNormalPicture)
  Q_PROPERTY(QString hoverPicture READ hoverPicture WRITE setHoverPicture)

 public:
  explicit PictureButton(QWidget* parent = nullptr);

  QString normalPicture() const { return normalPath_; }
  QString hoverPicture() const { return hoverPath_; }
  void setNormalPicture(const QString& resourcePath);
  void setHoverPicture(const QString& resourcePath);

  // True while the hover picture is the one shown.
  bool showsHoverPicture() const;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  QString normalPath_;
  QString hoverPath_;
  QPixmap normal_;
  QPixmap hover_;
  bool mouseOver_ = false;
};

}  // namespace decor
