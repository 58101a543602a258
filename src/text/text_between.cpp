#include "text/text_between.h"

#include "text/utf8.h"

namespace decor {
namespace {

std::string expandQuoteMarks(std::string_view marker) {
  static constexpr std::string_view kQuoteWord = "#引号";
  std::string out;
  std::size_t i = 0;
  while (i < marker.size()) {
    if (marker.substr(i, kQuoteWord.size()) == kQuoteWord) {
      out.push_back('"');
      i += kQuoteWord.size();
    } else {
      out.push_back(marker[i++]);
    }
  }
  return out;
}

char foldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool matchesAt(std::string_view text, std::size_t pos, std::string_view needle, bool caseSensitive) {
  if (text.size() - pos < needle.size()) return false;
  for (std::size_t k = 0; k < needle.size(); ++k) {
    const char a = text[pos + k];
    const char b = needle[k];
    if (caseSensitive ? a != b : foldAscii(a) != foldAscii(b)) return false;
  }
  return true;
}

// Position of the first match at or after `from`, stepping whole characters; npos if none.
std::size_t find(std::string_view text, std::string_view needle, std::size_t from, bool caseSensitive) {
  for (std::size_t i = from; i < text.size(); i += decodeUtf8At(text, i).length) {
    if (matchesAt(text, i, needle, caseSensitive)) return i;
  }
  return std::string_view::npos;
}

}  // namespace

std::string textBetween(std::string_view text, std::string_view startMarker, std::string_view endMarker,
                        std::size_t startPosition, bool caseSensitive) {
  const std::string start = expandQuoteMarks(startMarker);
  const std::string end = expandQuoteMarks(endMarker);
  const std::size_t from = startPosition > 1 ? startPosition - 1 : 0;
  if (from >= text.size()) return {};
  const std::size_t at = find(text, start, from, caseSensitive);
  if (at == std::string_view::npos) return {};
  const std::string_view rest = text.substr(at + start.size());
  const std::size_t stop = find(rest, end, 0, caseSensitive);
  if (stop == std::string_view::npos) return {};
  return std::string(rest.substr(0, stop));
}

}  // namespace decor
