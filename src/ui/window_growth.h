#pragma once
// A window laid out at a fixed design size that may grow from it, up to maximised: its list
// takes the extra room, every other control keeps its size. Either all of them keep to the
// right edge (a panel beside the list) or those below the list keep to the bottom edge.
#include <QObject>
#include <QRect>
#include <QSize>
#include <utility>
#include <vector>

class QWidget;

namespace decor {

enum class GrowthAnchor { RightEdge, BottomBelowList };

class WindowGrowth final : public QObject {
 public:
  // Takes the window's present size and child places as the design. Call once its form is set up.
  WindowGrowth(QWidget& window, QWidget& list, GrowthAnchor anchor);

  // How far the window has grown beyond its design size.
  QSize grown() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void place();

  QWidget& window_;
  QWidget& list_;
  GrowthAnchor anchor_;
  QSize design_;
  QRect listDesign_;
  std::vector<std::pair<QWidget*, QRect>> designed_;
};

}  // namespace decor
