#pragma once
// Drop-downs whose choices are the product's own words (grades, room types, door types) take
// them from the vocabulary, so a word is spelled in one place and the forms cannot drift from
// the rules that compare against it.
#include <span>
#include <string_view>

class QComboBox;

namespace decor {

// Replaces the box's items with `choices`, in order, and makes `current` the shown one.
void setChoices(QComboBox& box, std::span<const std::string_view> choices, std::string_view current);

// Lets the box's list open as wide as its longest choice, however narrow the box itself: a
// choice cut short in the middle cannot be told from its neighbours.
void widenListToChoices(QComboBox& box);

}  // namespace decor
