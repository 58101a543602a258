#include "ui/spin_text_box.h"

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
  return QValidator::Acceptable;
}

QAbstractSpinBox::StepEnabled SpinTextBox::stepEnabled() const {
  const double value = textToNumber(editText().toStdString());
  StepEnabled enabled = StepNone;
  if (value < maximum_) enabled |= StepUpEnabled;
  if (value > minimum_) enabled |= StepDownEnabled;
  return enabled;
}

}  // namespace decor
