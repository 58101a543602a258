#pragma once
// Small UTF-8 walking helpers. Texts are UTF-8 inside the program; these step over whole
// characters so that no rule ever cuts one in half.
#include <cstddef>
#include <string>
#include <string_view>

namespace decor {

struct Utf8Char {
  char32_t codePoint = 0;
  std::size_t length = 1;  // bytes taken; 1 for an invalid byte
  bool valid = false;
};

// Decodes the character that starts at byte `pos` (pos < text.size()). An invalid or
// truncated sequence yields valid == false with length 1.
Utf8Char decodeUtf8At(std::string_view text, std::size_t pos);

// Whether every byte belongs to a well-formed character.
bool isValidUtf8(std::string_view text);

// Number of characters as a user sees them (an invalid byte counts as one).
std::size_t utf8Length(std::string_view text);

// The first `maxChars` characters of the text.
std::string utf8Left(std::string_view text, std::size_t maxChars);

// Appends the UTF-8 form of a code point.
void appendUtf8(std::string& out, char32_t codePoint);

}  // namespace decor
