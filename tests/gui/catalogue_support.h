#pragma once
// Reading a window back as its user meets it: its controls by design name, kind and opening
// text; the order Tab visits them; where each shows something; drop-down items and list columns.
#include <QRect>
#include <ostream>
#include <string>
#include <vector>

class QWidget;
class QComboBox;
class QTreeView;

namespace decor::test {

struct Control {
  std::string name;
  std::string kind;
  std::string text;  // edit text of a drop-down, empty for lists and pictures
  bool operator==(const Control&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Control& control);

// The window's own controls (its direct child widgets with a design name), in design order.
std::vector<QWidget*> designedChildren(QWidget& window);
std::vector<Control> controlsOf(QWidget& window);

// The controls Tab visits, by pressing Tab in the shown and active window until the focus is
// back where it started, beginning with the one that has the focus when the window opens.
std::vector<QWidget*> tabCycleOf(QWidget& window);

// Whether a reader going left to right, top to bottom, meets `next` after `previous`.
bool readsAfter(const QRect& previous, const QRect& next);

// The part of the window where the control shows something: a label's text rather than its
// whole box. Empty for a blank label, which only colours what lies on it.
QRect shownArea(QWidget& control);

std::vector<std::string> itemsOf(const QComboBox& box);

struct Column {
  std::string title;
  std::string alignment;  // "left" or "right"
  bool operator==(const Column&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Column& column);

std::vector<Column> columnsOf(const QTreeView& list);

}  // namespace decor::test
