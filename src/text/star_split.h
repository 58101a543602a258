#pragma once
// The "*" splitting rule of room sizes and window sizes ("3200*2800*2920").
#include <string>
#include <string_view>
#include <vector>

namespace decor {

// Splits at every "*": empty pieces before a "*" are kept (3200**2920 gives three pieces),
// an empty last piece is dropped (3200*2800* gives two) and an empty text gives none.
std::vector<std::string> splitOnStar(std::string_view text);

}  // namespace decor
