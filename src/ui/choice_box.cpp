#include "ui/choice_box.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QScrollBar>

#include "ui/qt_text.h"

namespace decor {

void setChoices(QComboBox& box, std::span<const std::string_view> choices, std::string_view current) {
  const QSignalBlocker quiet(box);  // filling the box is no choice of the user's
  box.clear();
  for (std::string_view choice : choices) box.addItem(qt(choice));
  box.setCurrentIndex(box.findText(qt(current), Qt::MatchExactly | Qt::MatchCaseSensitive));
}

void widenListToChoices(QComboBox& box) {
  QAbstractItemView& list = *box.view();
  const bool scrolls = box.count() > box.maxVisibleItems();
  const int scrollBar = scrolls ? list.verticalScrollBar()->sizeHint().width() : 0;
  list.setMinimumWidth(list.sizeHintForColumn(0) + 2 * list.frameWidth() + scrollBar);
  list.setTextElideMode(Qt::ElideNone);
}

}  // namespace decor
