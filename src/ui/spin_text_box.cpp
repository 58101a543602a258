#include "ui/spin_text_box.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "text/text_to_number.h"
#include "text/input_rules.h"

namespace decor {

SpinTextBox::SpinTextBox(QWidget* parent) : QAbstractSpinBox(parent) {
  setButtonSymbols(QAbstractSpinBox::UpDownArrows);
  connect(lineEdit(), &QLineEdit::textChanged, this, &SpinTextBox::textChanged);
}

QString SpinTextBox::editText() const { return lineEdit()->text(); }

void SpinTextBox::setEditText(const QString& text) { lineEdit()->setText(text); }

void SpinTextBox::stepBy(int steps) {
  const std::string stepped = stepNumberText(editText().toStdString(), steps, minimum_, maximum_);
  lineEdit()->setText(QString::fromStdString(stepped));
  selectAll();
}

QValidator::State SpinTextBox::validate(QString& input, int&) const {
  if (decimalInput_ && !isDecimalText(input.toStdString())) return QValidator::Invalid;
  if (leadingZeroRefused_ && !isWithoutLeadingZero(input.toStdString())) return QValidator::Invalid;
  return QValidator::Acceptable;
}

void SpinTextBox::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) emit returnPressed();
  // The validator alone does not hold when a change handler has just rewritten the text
  // (the line edit then cannot undo the keystroke), so the typed text is checked up front.
  if (leadingZeroRefused_ && !event->text().isEmpty() && event->text().front().isPrint()) {
    const QLineEdit* edit = lineEdit();
    QString next = edit->text();
    const bool selected = edit->hasSelectedText();
    next.replace(selected ? edit->selectionStart() : edit->cursorPosition(),
                 selected ? edit->selectedText().size() : 0, event->text());
    if (!isWithoutLeadingZero(next.toStdString())) {
      event->accept();
      return;
    }
  }
  QAbstractSpinBox::keyPressEvent(event);
}

QAbstractSpinBox::StepEnabled SpinTextBox::stepEnabled() const {
  const double value = textToNumber(editText().toStdString());
  StepEnabled enabled = StepNone;
  if (value < maximum_) enabled |= StepUpEnabled;
  if (value > minimum_) enabled |= StepDownEnabled;
  return enabled;
}

}  // namespace decor
