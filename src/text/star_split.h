#pragma once
// The "*" splitting rule of room sizes and window sizes ("3200*2800*2920").
#include <string>
#include <string_view>
#include <vector>

namespace decor {

// Splits at every "*": empty pieces before a "*" are kept (3200**2920 gives three pieces),
// an empty last piece is dropped (3200*2800* gives two) and an empty text gives none.
std::vector<std::string> splitOnStar(std::string_view text);

// What splitOnStar would give, without building the pieces: a size text of a million stars
// costs no memory. starPieceCount(t) == splitOnStar(t).size(), and for i below it
// starPiece(t, i) == splitOnStar(t)[i]; beyond it, an empty view.
std::size_t starPieceCount(std::string_view text);
std::string_view starPiece(std::string_view text, std::size_t index);

}  // namespace decor
