#include "contact/percent_encoding.h"

#include "text/codepage.h"

namespace decor {
namespace {

constexpr std::string_view kSpecialCharacters = "~!@#$%^&*()-_=+[{]};:'\\|,<.>/?`\"\r\n\t";
constexpr std::string_view kHexDigits = "0123456789ABCDEF";

bool needsEscape(unsigned char byte) {
  return byte == 0 || byte >= 0x80 || kSpecialCharacters.find(static_cast<char>(byte)) != std::string_view::npos;
}

// What a "%" without two hex digits after it means to a decoder.
enum class BrokenEscape { KeptAsText, Refused };
// What a "+" means: itself in a reply, a blank in a posted form.
enum class Plus { Kept, Blank };

std::optional<std::string> decodeEscapes(std::string_view text, BrokenEscape broken, Plus plus) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '+' && plus == Plus::Blank) {
      out.push_back(' ');
      continue;
    }
    if (text[i] != '%') {
      out.push_back(text[i]);
      continue;
    }
    const int high = i + 2 < text.size() ? hexDigitValue(text[i + 1]) : -1;
    const int low = i + 2 < text.size() ? hexDigitValue(text[i + 2]) : -1;
    if (high < 0 || low < 0) {
      if (broken == BrokenEscape::Refused) return std::nullopt;
      out.push_back('%');
      continue;
    }
    out.push_back(static_cast<char>(high * 16 + low));
    i += 2;
  }
  return out;
}

}  // namespace

int hexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string encodeForForm(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size() * 3);
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (needsEscape(byte)) {
      out.push_back('%');
      out.push_back(kHexDigits[byte >> 4]);
      out.push_back(kHexDigits[byte & 0x0F]);
    } else {
      out.push_back(c);
    }
  }
  return out;
}

std::string decodeReply(std::string_view reply) {
  return cutAtZeroByteAndRoundTripGbk(*decodeEscapes(reply, BrokenEscape::KeptAsText, Plus::Kept));
}

std::optional<std::string> percentDecode(std::string_view text) {
  return decodeEscapes(text, BrokenEscape::Refused, Plus::Blank);
}

}  // namespace decor
