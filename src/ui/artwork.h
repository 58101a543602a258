#pragma once
// The program's pictures (window backgrounds and picture-button states), compiled in as the
// Qt resource "artwork" under ":/artwork/".
#include <QPixmap>
#include <QString>

class QWidget;

namespace decor {

// Loads a picture by its resource path (":/artwork/main_background.jpg"). The resource lives
// in a static library, so it is registered on first use. GUI thread only.
QPixmap artworkPicture(const QString& resourcePath);

// Draws a window's background picture at its top-left corner.
void paintBackground(QWidget& window, const QPixmap& picture);

}  // namespace decor
