#pragma once
// The percent encoding of the estimate form and the decoding of the server's reply.
#include <string>
#include <string_view>

namespace decor {

// Escapes, as "%" and two upper-case hex digits, every byte of a non-ASCII character (its
// UTF-8 form), the zero byte, and the 35 special characters: ~!@#$%^&*()-_=+[{]};:'\|,<.>/?
// the grave accent, the double quote, CR, LF and tab. Every other ASCII character, the blank
// included, passes unchanged. The result is pure ASCII.
std::string encodeForForm(std::string_view utf8);

// Undoes the escapes of a reply ("%" and two hex digits in either case); a "%" without two
// hex digits after it stays as it is, and "+" stays "+". The bytes are then read as UTF-8 and
// kept as any incoming text is (cutAtZeroByteAndRoundTripGbk).
std::string decodeReply(std::string_view reply);

// The value of a hex digit in either case; -1 for any other character.
int hexDigitValue(char c);

}  // namespace decor
