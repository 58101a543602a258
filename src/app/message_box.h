#pragma once
// The program's message box: application-modal, no owner window, caption "信息：".
#include <QMessageBox>
#include <QString>

namespace decor {

inline constexpr const char* kMessageCaption = "信息：";

// Shows `text` (CR LF line breaks allowed) and returns the button pressed.
QMessageBox::StandardButton showMessage(const QString& text, QMessageBox::Icon icon,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok);

}  // namespace decor
