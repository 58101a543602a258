#pragma once
// Editable drop-downs hold the text exactly as typed, like the edit boxes beside them: no
// completion from the items, no new item on Enter, and a typed text that happens to equal an
// item is not a pick of it. Only choosing from the open list or stepping with the arrow keys
// (or the wheel) picks an item and reports it through QComboBox::textActivated.
class QComboBox;

namespace decor {

void keepTypedText(QComboBox& box);

}  // namespace decor
