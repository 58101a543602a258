#include "catalogue_support.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeView>

#include "ui/hyperlink_label.h"
#include "ui/picture_box.h"
#include "ui/picture_button.h"
#include "ui/spin_text_box.h"

namespace decor::test {

namespace {

std::string kindOf(QWidget& widget) {
  if (auto* box = qobject_cast<QComboBox*>(&widget)) return box->isEditable() ? "editable drop-down" : "drop-down list";
  if (qobject_cast<SpinTextBox*>(&widget)) return "edit box with spin buttons";
  if (qobject_cast<QLineEdit*>(&widget)) return "edit box";
  if (qobject_cast<QPlainTextEdit*>(&widget)) return "multi-line edit box";
  if (qobject_cast<PictureButton*>(&widget)) return "picture button";
  if (qobject_cast<PictureBox*>(&widget)) return "picture box";
  if (qobject_cast<HyperlinkLabel*>(&widget)) return "hyperlink";
  if (qobject_cast<QLabel*>(&widget)) return "label";
  if (qobject_cast<QPushButton*>(&widget)) return "push button";
  if (qobject_cast<QRadioButton*>(&widget)) return "radio button";
  if (qobject_cast<QTreeView*>(&widget)) return "report list";
  return std::string("unexpected ") + widget.metaObject()->className();
}

std::string textOf(QWidget& widget) {
  if (auto* box = qobject_cast<QComboBox*>(&widget)) return box->currentText().toStdString();
  if (auto* spin = qobject_cast<SpinTextBox*>(&widget)) return spin->editText().toStdString();
  if (auto* edit = qobject_cast<QLineEdit*>(&widget)) return edit->text().toStdString();
  if (auto* edit = qobject_cast<QPlainTextEdit*>(&widget)) return edit->toPlainText().toStdString();
  if (auto* label = qobject_cast<QLabel*>(&widget)) return label->text().toStdString();
  if (auto* button = qobject_cast<QAbstractButton*>(&widget)) return button->text().toStdString();
  return {};
}

// The window's designed control that holds `widget` (a drop-down's line edit, say).
QWidget* designedAncestor(QWidget& window, QWidget* widget) {
  while (widget != nullptr && widget->parentWidget() != &window) widget = widget->parentWidget();
  return widget;
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const Control& c) {
  return out << "{" << c.name << ", " << c.kind << ", \"" << c.text << "\"}";
}

std::vector<QWidget*> designedChildren(QWidget& window) {
  std::vector<QWidget*> children;
  for (QObject* child : window.children()) {
    auto* widget = qobject_cast<QWidget*>(child);
    if (widget == nullptr || widget->isWindow() || widget->objectName().isEmpty() ||
        widget->objectName().startsWith(QStringLiteral("qt_"))) {
      continue;
    }
    children.push_back(widget);
  }
  return children;
}

std::vector<Control> controlsOf(QWidget& window) {
  std::vector<Control> controls;
  for (QWidget* widget : designedChildren(window)) {
    controls.push_back({widget->objectName().toStdString(), kindOf(*widget), textOf(*widget)});
  }
  return controls;
}

std::vector<QWidget*> tabCycleOf(QWidget& window) {
  window.show();
  window.activateWindow();
  if (!QTest::qWaitForWindowActive(&window)) return {};
  std::vector<QWidget*> cycle;
  const std::size_t limit = designedChildren(window).size() + 1;
  for (std::size_t press = 0; press <= limit; ++press) {
    QWidget* focused = designedAncestor(window, QApplication::focusWidget());
    if (focused == nullptr) break;
    if (!cycle.empty() && focused == cycle.front()) break;
    cycle.push_back(focused);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  return cycle;
}

bool readsAfter(const QRect& previous, const QRect& next) {
  const bool sameLine = previous.top() <= next.bottom() && next.top() <= previous.bottom();
  return sameLine ? next.left() > previous.center().x() : next.top() > previous.top();
}

QRect shownArea(QWidget& control) {
  const auto* label = qobject_cast<QLabel*>(&control);
  if (label == nullptr || qobject_cast<PictureBox*>(&control) != nullptr) return control.geometry();
  if (label->text().isEmpty()) return {};
  const int flags = int(label->alignment()) | (label->wordWrap() ? int(Qt::TextWordWrap) : 0);
  const QFontMetrics metrics = label->fontMetrics();
  QRect text = metrics.boundingRect(label->contentsRect(), flags, label->text());
  // On one line, the ink: a full-width colon's blank right half covers nothing.
  if (!label->text().contains(QChar('\n')) && !label->wordWrap()) {
    const QRect ink = metrics.tightBoundingRect(label->text());
    text = QRect(text.left() + ink.left(), text.top(), ink.width(), text.height());
  }
  return text.intersected(label->contentsRect()).translated(label->pos());
}

std::vector<std::string> itemsOf(const QComboBox& box) {
  std::vector<std::string> items;
  for (int i = 0; i < box.count(); ++i) items.push_back(box.itemText(i).toStdString());
  return items;
}

std::ostream& operator<<(std::ostream& out, const Column& c) { return out << "{" << c.title << ", " << c.alignment << "}"; }

std::vector<Column> columnsOf(const QTreeView& list) {
  std::vector<Column> columns;
  const QAbstractItemModel* model = list.model();
  for (int i = 0; model != nullptr && i < model->columnCount(); ++i) {
    const auto alignment =
        Qt::Alignment(model->headerData(i, Qt::Horizontal, Qt::TextAlignmentRole).toInt()) & Qt::AlignHorizontal_Mask;
    const std::string side = alignment == Qt::AlignLeading || alignment == Qt::AlignLeft     ? "left"
                             : alignment == Qt::AlignTrailing || alignment == Qt::AlignRight ? "right"
                                                                                             : "other";
    columns.push_back({model->headerData(i, Qt::Horizontal).toString().toStdString(), side});
  }
  return columns;
}

}  // namespace decor::test
