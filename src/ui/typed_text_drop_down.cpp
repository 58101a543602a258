#include "ui/typed_text_drop_down.h"

#include <QComboBox>
#include <QLineEdit>

namespace decor {

void keepTypedText(QComboBox& box) {
  box.setInsertPolicy(QComboBox::NoInsert);
  box.setCompleter(nullptr);
  // When editing ends (Enter, focus leaving) QComboBox makes an item equal to the typed text
  // its current item and reports that as an activation. That is its only use of the line
  // edit's editingFinished.
  if (QLineEdit* edit = box.lineEdit()) QObject::disconnect(edit, &QLineEdit::editingFinished, &box, nullptr);
}

}  // namespace decor
