#pragma once
// Reading a window back as the catalogue describes it: controls by design name, kind and
// place; texts; items; fonts.
#include <QSize>
#include <ostream>
#include <string>
#include <vector>

class QWidget;
class QComboBox;
class QTreeView;

namespace decor::test {

// Windows are designed by outer size; the client area is that less a 27-pixel caption.
QSize clientSizeForOuter(int width, int height);

struct Control {
  std::string name;
  std::string kind;
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const Control&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Control& control);

// The window's own controls (its direct child widgets with a design name), in design order.
std::vector<Control> controlsOf(QWidget& window);

struct ControlText {
  std::string name;
  std::string text;
  bool operator==(const ControlText&) const = default;
};
std::ostream& operator<<(std::ostream& out, const ControlText& text);

// The text each control shows (edit text of a drop-down, empty for lists and pictures).
std::vector<ControlText> textsOf(QWidget& window);

struct ControlFont {
  std::string name;
  int pixelSize = 0;
  bool bold = false;
  bool operator==(const ControlFont&) const = default;
};
std::ostream& operator<<(std::ostream& out, const ControlFont& font);

std::vector<ControlFont> fontsOf(QWidget& window);

std::vector<std::string> itemsOf(const QComboBox& box);

struct Column {
  std::string title;
  int width = 0;
  std::string alignment;  // "left" or "right"
  bool operator==(const Column&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Column& column);

std::vector<Column> columnsOf(const QTreeView& list);

}  // namespace decor::test
