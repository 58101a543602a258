#pragma once
// Number-to-text: how every figure of the program is written into a text.
//  - integers in plain decimal;
//  - single precision: rounded to float, then 6 significant digits like "%.6g";
//  - double precision: 13 significant digits like "%.13g".
// Trailing zeros and a trailing point are dropped; exponent form keeps a sign and at
// least three digits (1.23457e+006). Independent of the C locale.
#include <cstdint>
#include <string>

namespace decor {

std::string formatInteger(std::int64_t value);

// Rounds to single precision first, so the digits are those of the stored float.
std::string formatSingle(double value);

std::string formatDouble(double value);

// A non-finite value never reaches a user: both formatters write it as "0".

}  // namespace decor
