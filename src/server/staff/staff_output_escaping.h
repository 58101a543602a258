#pragma once
// What a customer typed, made safe for the staff who read it: a spreadsheet must not run it
// as a formula, and a terminal must not be made to show one record as two.
#include <string>
#include <string_view>

namespace decor::server {

// A field that starts with "=", "+", "-", "@", TAB or CR gets a leading "'", as does one
// that starts with "'" itself: removing one leading "'" always gives the value back.
std::string withoutFormulaStart(std::string_view field);

// Backslash as "\\", TAB, CR and LF as "\t", "\r" and "\n", other C0 controls and DEL as
// "\xHH", and the characters that move or hide text (C1 controls, line and paragraph
// separators, direction marks and overrides, byte-order mark) as "\u{HHHH}"; a byte that
// is no UTF-8 as "\xHH". Everything else is kept.
std::string visibleEscapes(std::string_view text);

}  // namespace decor::server
