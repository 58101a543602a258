#include "text/star_split.h"

namespace decor {

std::vector<std::string> splitOnStar(std::string_view text) {
  // '*' is ASCII, so in UTF-8 it can never be a byte of a longer character.
  std::vector<std::string> pieces;
  std::size_t begin = 0;
  for (std::size_t star = text.find('*'); star != std::string_view::npos; star = text.find('*', begin)) {
    pieces.emplace_back(text.substr(begin, star - begin));
    begin = star + 1;
  }
  if (begin < text.size()) pieces.emplace_back(text.substr(begin));
  return pieces;
}

}  // namespace decor
