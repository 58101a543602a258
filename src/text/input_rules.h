#pragma once
// What the edit boxes let a user type, and how their spin buttons step. Plain text rules,
// free of Qt so that they are tested on their own.
#include <string>
#include <string_view>

namespace decor {

// The area box takes at most this many characters before the decimal point: no flat is
// 10 000 000 square metres, and below that no figure of the estimate overflows.
inline constexpr std::size_t kMaxDecimalIntegerDigits = 7;

// Decimal text: digits with at most one decimal point, full-width forms included (１２０．５),
// and at most kMaxDecimalIntegerDigits characters before the point. No sign, no exponent, no
// blanks. The empty text is allowed (a box may be cleared).
bool isDecimalText(std::string_view utf8);

// A count typed digit by digit: anything but a 0 with more after it. The door-leaves box resets
// to "0" as soon as a minus is typed; the digit typed next must not turn that into "01".
bool isWithoutLeadingZero(std::string_view utf8);

// The text after `steps` presses of a spin button (negative = down): the number the text
// reads as (text-to-number rule) plus the steps, kept within [minimum, maximum] and written
// with the double-precision number-to-text rule ("100" -> "101", "12.5" -> "13.5").
std::string stepNumberText(std::string_view utf8, int steps, int minimum, int maximum);

}  // namespace decor
