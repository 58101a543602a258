#pragma once
// The percent encoding on both sides of the estimate form: the program's encoder, the reading
// of the estimate server's reply, and the server's strict decoding of a posted field. One
// reading of "%XX" serves all decoders; they differ only in what a broken escape means.
#include <optional>
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

// Undoes the escapes of a posted form field, byte for byte; "+" is a blank, as in every form
// (the program's own encoder writes "+" as "%2B" and a blank as a blank, so its posts read the
// same either way), and every other byte passes unchanged. A "%" without two hex digits
// after it makes the whole field unreadable: nothing.
std::optional<std::string> percentDecode(std::string_view text);

// The value of a hex digit in either case; -1 for any other character.
int hexDigitValue(char c);

}  // namespace decor
