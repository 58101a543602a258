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

QIcon applicationIcon() {
  QIcon icon;
  for (const int size : {16, 32, 48, 256}) {
    icon.addPixmap(artworkPicture(QStringLiteral(":/artwork/app_icon_%1.png").arg(size)));
  }
  return icon;
}

void paintBackground(QWidget& window, const QPixmap& picture) {
  QPainter painter(&window);
  painter.drawPixmap(0, 0, picture);
}

}  // namespace decor
