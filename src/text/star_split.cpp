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

std::size_t starPieceCount(std::string_view text) {
  std::size_t stars = 0;
  for (const char c : text) stars += c == '*' ? 1 : 0;
  // One piece per star, plus the text after the last star when it is not empty.
  return stars + (!text.empty() && text.back() != '*' ? 1 : 0);
}

std::string_view starPiece(std::string_view text, std::size_t index) {
  std::size_t begin = 0;
  for (std::size_t i = 0; i < index; ++i) {
    const std::size_t star = text.find('*', begin);
    if (star == std::string_view::npos) return {};
    begin = star + 1;
  }
  if (begin >= text.size()) return {};
  const std::size_t star = text.find('*', begin);
  return text.substr(begin, star == std::string_view::npos ? std::string_view::npos : star - begin);
}

}  // namespace decor
