#include "text/text_to_number.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "text/utf8.h"

namespace decor {
namespace {

// The ASCII character a full-width code point folds to, or 0 when it does not fold.
char foldedChar(char32_t cp) {
  if (cp >= 0xFF01 && cp <= 0xFF5D && cp != 0xFF04) return static_cast<char>(cp - 0xFF01 + 0x21);
  switch (cp) {
    case 0xFFE5: return '$';  // GBK A3A4 is the full-width yen sign
    case 0xFFE3: return '~';  // GBK A3FE, the full-width macron
    case 0xFF5E: return '~';  // GBK A1AB
    case 0x3000: return ' ';  // GBK A1A1
    case 0x2606: return '*';  // GBK A1EE
    case 0x2605: return '*';  // GBK A1EF
    default: return 0;
  }
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string foldFullWidth(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const Utf8Char ch = decodeUtf8At(utf8, i);
    const char folded = ch.valid ? foldedChar(ch.codePoint) : 0;
    if (folded != 0) {
      out.push_back(folded);
    } else {
      out.append(utf8.substr(i, ch.length));
    }
    i += ch.length;
  }
  return out;
}

double textToNumber(std::string_view utf8) {
  const std::string text = foldFullWidth(utf8);
  std::size_t i = 0;
  while (i < text.size() && isBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

  const std::size_t start = i;
  std::size_t mantissaDigits = 0;
  // Decimal exponent of the first non-zero digit, to tell overflow from underflow below.
  long firstSignificant = 0;
  bool seenSignificant = false;
  long integerDigits = 0;
  while (i < text.size() && isDigit(text[i])) {
    if (!seenSignificant && text[i] != '0') { seenSignificant = true; firstSignificant = integerDigits; }
    ++integerDigits; ++mantissaDigits; ++i;
  }
  long fractionDigits = 0;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && isDigit(text[i])) {
      ++fractionDigits;
      if (!seenSignificant && text[i] != '0') { seenSignificant = true; firstSignificant = -fractionDigits; }
      ++mantissaDigits; ++i;
    }
  }
  if (mantissaDigits == 0) return 0.0;
  if (!seenSignificant) firstSignificant = 0;
  else if (firstSignificant >= 0) firstSignificant = integerDigits - firstSignificant - 1;

  long exponent = 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    bool expNegative = false;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) expNegative = text[j++] == '-';
    if (j < text.size() && isDigit(text[j])) {
      while (j < text.size() && isDigit(text[j])) {
        if (exponent < 100000) exponent = exponent * 10 + (text[j] - '0');
        ++j;
      }
      if (expNegative) exponent = -exponent;
      i = j;
    }
  }

  double value = 0.0;
  const auto result = std::from_chars(text.data() + start, text.data() + i, value, std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    // atof gives HUGE_VAL on overflow and 0 on underflow.
    value = (seenSignificant && firstSignificant + exponent > 0) ? HUGE_VAL : 0.0;
  } else if (result.ec != std::errc()) {
    value = 0.0;
  }
  return negative ? -value : value;
}

std::int32_t truncateToInt32(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

std::int32_t textToInt32(std::string_view utf8) { return truncateToInt32(textToNumber(utf8)); }

}  // namespace decor
