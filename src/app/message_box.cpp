#include "app/message_box.h"

#include "ui/gui_thread.h"

namespace decor {

QMessageBox::StandardButton showMessage(const QString& text, QMessageBox::Icon icon,
                                        QMessageBox::StandardButtons buttons) {
  DECOR_EXPECT_GUI_THREAD("showMessage");
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QMessageBox box(icon, QString::fromUtf8(kMessageCaption), shown, buttons);
  box.setTextFormat(Qt::PlainText);
  box.setWindowModality(Qt::ApplicationModal);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace decor
