#include "ui/choice_box.h"

#include <QComboBox>

#include "ui/qt_text.h"

namespace decor {

void setChoices(QComboBox& box, std::span<const std::string_view> choices, std::string_view current) {
  const QSignalBlocker quiet(box);  // filling the box is no choice of the user's
  box.clear();
  for (std::string_view choice : choices) box.addItem(qt(choice));
  box.setCurrentIndex(box.findText(qt(current), Qt::MatchExactly | Qt::MatchCaseSensitive));
}

}  // namespace decor
