#pragma once
// What a customer typed, made safe for the staff who read it in a terminal: it must not be
// made to show one record as two. (For a spreadsheet, text/csv.h guards against formulas.)
#include <string>
#include <string_view>

namespace decor::server {

// Backslash as "\\", TAB, CR and LF as "\t", "\r" and "\n", other C0 controls and DEL as
// "\xHH", and the characters that move or hide text (C1 controls, line and paragraph
// separators, direction marks and overrides, byte-order mark) as "\u{HHHH}"; a byte that
// is no UTF-8 as "\xHH". Everything else is kept.
std::string visibleEscapes(std::string_view text);

}  // namespace decor::server
