#include "ui/artwork.h"

#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <array>

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

void paintBackground(QWidget& window, const QPixmap& picture, QPoint stretchAt) {
  const int dx = std::max(0, window.width() - picture.width());
  const int dy = std::max(0, window.height() - picture.height());
  if (dx == 0 && dy == 0) {
    paintBackground(window, picture);
    return;
  }
  QPainter painter(&window);
  // Source and target spans of one axis: before the stretch line, the line drawn over the
  // added room, and after it.
  struct Span {
    int from, length, to, drawn;
  };
  auto spans = [](int at, int size, int added) {
    return std::array<Span, 3>{Span{0, at, 0, at}, Span{at, 1, at, added}, Span{at, size - at, at + added, size - at}};
  };
  for (const Span& x : spans(stretchAt.x(), picture.width(), dx)) {
    for (const Span& y : spans(stretchAt.y(), picture.height(), dy)) {
      if (x.drawn <= 0 || y.drawn <= 0) continue;
      painter.drawPixmap(QRect(x.to, y.to, x.drawn, y.drawn), picture, QRect(x.from, y.from, x.length, y.length));
    }
  }
}

}  // namespace decor
