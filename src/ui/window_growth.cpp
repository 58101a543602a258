#include "ui/window_growth.h"

#include <QEvent>
#include <QWidget>
#include <algorithm>

namespace decor {

WindowGrowth::WindowGrowth(QWidget& window, QWidget& list, GrowthAnchor anchor)
    : QObject(&window), window_(window), list_(list), anchor_(anchor), design_(window.size()),
      listDesign_(list.geometry()) {
  for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    designed_.emplace_back(child, child->geometry());
  }
  window.setMinimumSize(design_);
  window.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  window.setWindowFlag(Qt::WindowMaximizeButtonHint, true);
  window.installEventFilter(this);
}

QSize WindowGrowth::grown() const {
  return {std::max(0, window_.width() - design_.width()), std::max(0, window_.height() - design_.height())};
}

bool WindowGrowth::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &window_ && event->type() == QEvent::Resize) place();
  return QObject::eventFilter(watched, event);
}

void WindowGrowth::place() {
  const QSize extra = grown();
  for (const auto& [child, designed] : designed_) {
    if (child == &list_) {
      child->setGeometry(designed.adjusted(0, 0, extra.width(), extra.height()));
    } else if (anchor_ == GrowthAnchor::RightEdge) {
      child->move(designed.topLeft() + QPoint(extra.width(), 0));
    } else if (designed.top() > listDesign_.bottom()) {
      child->move(designed.topLeft() + QPoint(0, extra.height()));
    }
  }
}

}  // namespace decor
