#include "text/text_between.h"

#include <algorithm>
#include <array>
#include <unordered_map>

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

std::string foldAll(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = foldAscii(c);
  return out;
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

std::vector<std::string> textsAfterKeys(std::string_view text, const std::vector<std::string_view>& keys,
                                        std::string_view marker, char endQuote) {
  std::vector<std::string> values(keys.size());
  if (marker.empty() || text.empty()) return values;

  // Keys by their folded text; at each marker, one lookup per distinct key length.
  std::vector<std::string> foldedKeys;
  foldedKeys.reserve(keys.size());
  for (const std::string_view key : keys) foldedKeys.push_back(foldAll(key));
  std::vector<std::size_t> lengths;
  std::unordered_map<std::string_view, std::vector<std::size_t>> keysByText;
  for (std::size_t k = 0; k < keys.size(); ++k) {
    keysByText[foldedKeys[k]].push_back(k);
    if (std::find(lengths.begin(), lengths.end(), keys[k].size()) == lengths.end()) lengths.push_back(keys[k].size());
  }
  const std::string folded = foldAll(text);
  const std::string foldedMarker = foldAll(marker);

  // Where the character walk of textBetween stops: a match may only begin there.
  std::vector<bool> startsCharacter(text.size() + 1, false);
  for (std::size_t i = 0; i < text.size(); i += decodeUtf8At(text, i).length) startsCharacter[i] = true;
  // A cheap test before the lookup: the byte that begins a key of each length.
  std::vector<std::array<bool, 256>> firstBytes(lengths.size());
  for (std::size_t k = 0; k < keys.size(); ++k) {
    const std::size_t slot = static_cast<std::size_t>(std::find(lengths.begin(), lengths.end(), keys[k].size()) - lengths.begin());
    if (!keys[k].empty()) firstBytes[slot][static_cast<unsigned char>(foldedKeys[k][0])] = true;
  }

  std::vector<bool> found(keys.size(), false);
  std::size_t left = keys.size();
  // Every marker, in text order: the first one after a key is that key's first match.
  for (std::size_t at = folded.find(foldedMarker); at != std::string::npos && left > 0;
       at = folded.find(foldedMarker, at + 1)) {
    const std::size_t valueBegin = at + marker.size();
    for (std::size_t slot = 0; slot < lengths.size(); ++slot) {
      const std::size_t length = lengths[slot];
      if (length > at || !startsCharacter[at - length]) continue;
      if (length > 0 && !firstBytes[slot][static_cast<unsigned char>(folded[at - length])]) continue;
      const auto hit = keysByText.find(std::string_view(folded).substr(at - length, length));
      if (hit == keysByText.end()) continue;
      for (const std::size_t k : hit->second) {
        if (found[k]) continue;
        found[k] = true;
        --left;
        const std::size_t valueEnd = text.find(endQuote, valueBegin);
        if (valueEnd != std::string_view::npos) values[k] = std::string(text.substr(valueBegin, valueEnd - valueBegin));
      }
    }
  }
  return values;
}

}  // namespace decor
