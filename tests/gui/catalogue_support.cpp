#include "catalogue_support.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
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

}  // namespace

QSize clientSizeForOuter(int width, int height) { return QSize(width, height - 27); }

std::ostream& operator<<(std::ostream& out, const Control& c) {
  return out << "{" << c.name << ", " << c.kind << ", " << c.x << "," << c.y << " " << c.width << "x" << c.height
             << "}";
}

std::vector<Control> controlsOf(QWidget& window) {
  std::vector<Control> controls;
  for (QWidget* widget : designedChildren(window)) {
    const QRect g = widget->geometry();
    controls.push_back({widget->objectName().toStdString(), kindOf(*widget), g.x(), g.y(), g.width(), g.height()});
  }
  return controls;
}

std::ostream& operator<<(std::ostream& out, const ControlText& t) {
  return out << "{" << t.name << ": \"" << t.text << "\"}";
}

std::vector<ControlText> textsOf(QWidget& window) {
  std::vector<ControlText> texts;
  for (QWidget* widget : designedChildren(window)) texts.push_back({widget->objectName().toStdString(), textOf(*widget)});
  return texts;
}

std::ostream& operator<<(std::ostream& out, const ControlFont& f) {
  return out << "{" << f.name << ", " << f.pixelSize << "px" << (f.bold ? " bold" : "") << "}";
}

std::vector<ControlFont> fontsOf(QWidget& window) {
  std::vector<ControlFont> fonts;
  for (QWidget* widget : designedChildren(window)) {
    widget->ensurePolished();
    const QFont font = widget->font();
    fonts.push_back({widget->objectName().toStdString(), font.pixelSize(), font.bold()});
  }
  return fonts;
}

std::vector<std::string> itemsOf(const QComboBox& box) {
  std::vector<std::string> items;
  for (int i = 0; i < box.count(); ++i) items.push_back(box.itemText(i).toStdString());
  return items;
}

std::ostream& operator<<(std::ostream& out, const Column& c) {
  return out << "{" << c.title << ", " << c.width << ", " << c.alignment << "}";
}

std::vector<Column> columnsOf(const QTreeView& list) {
  std::vector<Column> columns;
  const QAbstractItemModel* model = list.model();
  for (int i = 0; model != nullptr && i < model->columnCount(); ++i) {
    const auto alignment =
        Qt::Alignment(model->headerData(i, Qt::Horizontal, Qt::TextAlignmentRole).toInt()) & Qt::AlignHorizontal_Mask;
    const std::string side = alignment == Qt::AlignLeading || alignment == Qt::AlignLeft     ? "left"
                             : alignment == Qt::AlignTrailing || alignment == Qt::AlignRight ? "right"
                                                                                             : "other";
    columns.push_back({model->headerData(i, Qt::Horizontal).toString().toStdString(), list.columnWidth(i), side});
  }
  return columns;
}

}  // namespace decor::test
