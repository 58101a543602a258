#pragma once
// textBetween: the text between the first start marker and the next end marker after it.
// Reads the price files and the number-location reply with a plain text search.
#include <string>
#include <string_view>
#include <vector>

namespace decor {

// - "#引号" inside either marker stands for a double quote;
// - ASCII letters compare without regard to case unless caseSensitive is set;
// - a match never begins inside a multi-byte character;
// - startPosition counts bytes from 1 (0 and 1 both mean the beginning);
// - either marker missing gives an empty text.
std::string textBetween(std::string_view text, std::string_view startMarker, std::string_view endMarker,
                        std::size_t startPosition = 0, bool caseSensitive = false);

// For every key at once, what textBetween(text, key + marker, endQuote) gives (case-insensitive,
// from the beginning), found in one pass over the text instead of one per key. `marker` is
// ASCII text, `endQuote` an ASCII character; neither the keys nor the marker hold "#引号". Keys may overlap: a key can match the tail of another key, as textBetween would.
std::vector<std::string> textsAfterKeys(std::string_view text, const std::vector<std::string_view>& keys,
                                        std::string_view marker, char endQuote);

}  // namespace decor
