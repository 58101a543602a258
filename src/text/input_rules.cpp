#include "text/input_rules.h"

#include <algorithm>

#include "text/number_format.h"
#include "text/text_to_number.h"

namespace decor {

bool isDecimalText(std::string_view utf8) {
  const std::string folded = foldFullWidth(utf8);
  int points = 0;
  std::size_t integerDigits = 0;
  for (const char c : folded) {
    if (c == '.') {
      if (++points > 1) return false;
    } else if (c < '0' || c > '9') {
      return false;
    } else if (points == 0 && ++integerDigits > kMaxDecimalIntegerDigits) {
      return false;
    }
  }
  return true;
}

bool isWithoutLeadingZero(std::string_view utf8) {
  const std::string folded = foldFullWidth(utf8);
  return folded.size() < 2 || folded.front() != '0';
}

std::string stepNumberText(std::string_view utf8, int steps, int minimum, int maximum) {
  const double stepped = textToNumber(utf8) + steps;
  return formatDouble(std::clamp(stepped, double(minimum), double(maximum)));
}

}  // namespace decor
