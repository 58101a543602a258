#pragma once
// The program's pictures (window backgrounds, picture-button states and the application icon),
// compiled in as the Qt resource "artwork" under ":/artwork/".
#include <QIcon>
#include <QPixmap>
#include <QString>

class QWidget;

namespace decor {

// Loads a picture by its resource path (":/artwork/main_background.jpg"). The resource lives
// in a static library, so it is registered on first use. GUI thread only.
QPixmap artworkPicture(const QString& resourcePath);

// The application icon in the sizes window lists and title bars ask for; the same drawing as
// the icons the desktop entry names.
QIcon applicationIcon();

// Draws a window's background picture at its top-left corner.
void paintBackground(QWidget& window, const QPixmap& picture);
// The same for a window grown beyond its picture: what lies right of and below `stretchAt`
// keeps to the right and bottom edges, and that column and row are drawn over the room between.
void paintBackground(QWidget& window, const QPixmap& picture, QPoint stretchAt);

}  // namespace decor
