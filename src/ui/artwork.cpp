#include "ui/artwork.h"

#include <QPainter>
#include <QWidget>

// Q_INIT_RESOURCE must not sit inside a namespace.
static void registerArtworkResource() { Q_INIT_RESOURCE(artwork); }

namespace decor {

QPixmap artworkPicture(const QString& resourcePath) {
  static const bool registered = (registerArtworkResource(), true);
  (void)registered;
  return QPixmap(resourcePath);
}

void paintBackground(QWidget& window, const QPixmap& picture) {
  QPainter painter(&window);
  painter.drawPixmap(0, 0, picture);
}

}  // namespace decor
