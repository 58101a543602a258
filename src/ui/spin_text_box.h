#pragma once
// An edit box with spin buttons. Unlike QSpinBox it holds the text as typed: the rest of the
// program reads it with the text-to-number rule, so "100" must stay "100", not "100.00".
// The buttons step the number by one within [minimum, maximum]; typing is not range-checked.
#include <QAbstractSpinBox>
#include <QString>

namespace decor {

class SpinTextBox final : public QAbstractSpinBox {
  Q_OBJECT
  Q_PROPERTY(int minimum READ minimum WRITE setMinimum)
  Q_PROPERTY(int maximum READ maximum WRITE setMaximum)
  Q_PROPERTY(bool decimalInput READ decimalInput WRITE setDecimalInput)
  Q_PROPERTY(bool leadingZeroRefused READ leadingZeroRefused WRITE setLeadingZeroRefused)
  Q_PROPERTY(QString editText READ editText WRITE setEditText NOTIFY textChanged)

 public:
  explicit SpinTextBox(QWidget* parent = nullptr);

  int minimum() const { return minimum_; }
  int maximum() const { return maximum_; }
  void setMinimum(int minimum) { minimum_ = minimum; }
  void setMaximum(int maximum) { maximum_ = maximum; }

  // When set, only decimal text can be typed (isDecimalText).
  bool decimalInput() const { return decimalInput_; }
  void setDecimalInput(bool on) { decimalInput_ = on; }

  // When set, a 0 cannot get more typed after it (isWithoutLeadingZero).
  bool leadingZeroRefused() const { return leadingZeroRefused_; }
  void setLeadingZeroRefused(bool on) { leadingZeroRefused_ = on; }

  QString editText() const;
  void setEditText(const QString& text);

  void stepBy(int steps) override;
  QValidator::State validate(QString& input, int& pos) const override;

 signals:
  void textChanged(const QString& text);
  // Enter or Return in the box.
  void returnPressed();

 protected:
  StepEnabled stepEnabled() const override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  int minimum_ = 0;
  int maximum_ = 100;
  bool decimalInput_ = false;
  bool leadingZeroRefused_ = false;
};

}  // namespace decor
