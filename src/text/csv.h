#pragma once
// Comma-separated values for a spreadsheet (RFC 4180), with a guard against formulas.
//
// Quoting: a field that holds a comma, a double quote, CR or LF is put in double quotes, its
// double quotes doubled; every record ends in CR LF.
//
// The guard: a spreadsheet takes a field that starts with "=", "+", "-" or "@" for a formula
// (TAB or CR in front of one as well), so a field someone else typed (an item's name, a
// customer's address) could compute, fetch or run something in the reader's sheet. Such a
// field gets a leading "'", and so does one that starts with "'" itself: removing one
// leading "'" always gives the value back.
//
// Plain numbers: with the "'" a quotation's negative figures ("-3679", "-1.23457e+006") and
// the "-" that numbers a hand-added item would become text in the sheet, no use for sums.
// A plain decimal number (a "-", digits, a fraction and an exponent as the number-to-text
// rule writes them, nothing else) is a constant in every spreadsheet, and a lone "-" is
// text, so PlainNumbers::Kept writes those two unchanged. PlainNumbers::Guarded guards them
// like any other field: for listings where every field is what a customer typed and a phone
// number such as "-138" is no figure.
#include <span>
#include <string>
#include <string_view>

namespace decor {

enum class PlainNumbers { Guarded, Kept };

// The field with a leading "'" where the guard asks for one.
std::string withoutFormulaStart(std::string_view field, PlainNumbers numbers = PlainNumbers::Guarded);

// The guarded field, quoted where it needs quotes.
std::string csvField(std::string_view field, PlainNumbers numbers = PlainNumbers::Guarded);

// The fields as one record: comma-separated, CR LF at the end.
std::string csvRecord(std::span<const std::string_view> fields, PlainNumbers numbers = PlainNumbers::Guarded);

}  // namespace decor
