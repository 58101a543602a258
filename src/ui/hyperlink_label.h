#pragma once
// A hyperlink: underlined blue text that reports the left button's release. Without a
// caption it shows its address, less the "http://" in front. Opening the address is the owning window's job, so that the
// browser call stays in one replaceable place.
#include <QLabel>
#include <QString>

namespace decor {

class HyperlinkLabel final : public QLabel {
  Q_OBJECT
  Q_PROPERTY(QString address READ address WRITE setAddress)

 public:
  explicit HyperlinkLabel(QWidget* parent = nullptr);

  QString address() const { return address_; }
  void setAddress(const QString& address);

 signals:
  void released();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QString address_;
};

}  // namespace decor
