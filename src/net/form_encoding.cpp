#include "net/form_encoding.h"

#include "text/codepage.h"

namespace decor {
namespace {

constexpr std::string_view kSpecialCharacters = "~!@#$%^&*()-_=+[{]};:'\\|,<.>/?`\"\r\n\t";
constexpr std::string_view kHexDigits = "0123456789ABCDEF";

bool needsEscape(unsigned char byte) {
  return byte == 0 || byte >= 0x80 || kSpecialCharacters.find(static_cast<char>(byte)) != std::string_view::npos;
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
  std::string bytes;
  bytes.reserve(reply.size());
  for (std::size_t i = 0; i < reply.size(); ++i) {
    if (reply[i] == '%' && i + 2 < reply.size() && hexDigitValue(reply[i + 1]) >= 0 &&
        hexDigitValue(reply[i + 2]) >= 0) {
      bytes.push_back(static_cast<char>(hexDigitValue(reply[i + 1]) * 16 + hexDigitValue(reply[i + 2])));
      i += 2;
    } else {
      bytes.push_back(reply[i]);
    }
  }
  return cutAtZeroByteAndRoundTripGbk(bytes);
}

}  // namespace decor
