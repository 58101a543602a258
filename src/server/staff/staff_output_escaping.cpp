#include "server/staff/staff_output_escaping.h"

#include <cstdio>

#include "text/utf8.h"

namespace decor::server {
namespace {

bool movesOrHidesText(char32_t c) {
  return (c >= 0x80 && c <= 0x9F) || c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x2028 && c <= 0x202E) ||
         (c >= 0x2066 && c <= 0x2069) || c == 0xFEFF;
}

}  // namespace

std::string visibleEscapes(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  char escape[16];
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x80) {
      if (byte == '\\') out += "\\\\";
      else if (byte == '\t') out += "\\t";
      else if (byte == '\r') out += "\\r";
      else if (byte == '\n') out += "\\n";
      else if (byte < 0x20 || byte == 0x7F) {
        std::snprintf(escape, sizeof escape, "\\x%02X", byte);
        out += escape;
      } else {
        out += static_cast<char>(byte);
      }
      ++i;
      continue;
    }
    const Utf8Char c = decodeUtf8At(text, i);
    if (!c.valid) {
      std::snprintf(escape, sizeof escape, "\\x%02X", byte);
      out += escape;
    } else if (movesOrHidesText(c.codePoint)) {
      std::snprintf(escape, sizeof escape, "\\u{%04X}", static_cast<unsigned>(c.codePoint));
      out += escape;
    } else {
      out.append(text.substr(i, c.length));
    }
    i += c.length;
  }
  return out;
}

}  // namespace decor::server
