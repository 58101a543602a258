#pragma once
// Text-to-number: how every text of the program is read as a number.
// Full-width characters are first folded to ASCII (１２０ reads as 120), then the leading
// number is read like C's atof: leading blanks, sign, digits, point, exponent; reading stops
// at the first other character and a text without a number gives 0 ("2%" gives 2).
// Independent of the C locale. No "inf", "nan" or hexadecimal forms are recognised.
#include <cstdint>
#include <string>
#include <string_view>

namespace decor {

// The full-width fold applied to UTF-8 text: the characters of the GBK row A3A1..A3FE become
// the ASCII character of their second byte less 0x80, the ideographic space (A1A1) a blank,
// A1AB "~", and A1EE / A1EF "*". Everything else, invalid bytes included, is kept as it is.
std::string foldFullWidth(std::string_view utf8);

double textToNumber(std::string_view utf8);

// Truncation toward zero to a signed 32-bit integer (3.9 gives 3, -3.9 gives -3).
// Where the plain C conversion is undefined the result is still defined: NaN gives 0 and
// values beyond the int32 range saturate at its ends.
std::int32_t truncateToInt32(double value);

// textToNumber followed by truncateToInt32: counts, leaves and millimetre sizes.
std::int32_t textToInt32(std::string_view utf8);

}  // namespace decor
