// Writes what utf8ToGbk and gbkToUtf8 make of every one-byte and two-byte GBK code and of every
// Unicode scalar value, as fixed-size records, so that the tables of two builds (iconv on
// Linux, code page 936 on Windows) can be compared byte for byte.
#include <cstdio>
#include <string>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "text/codepage.h"
#include "text/utf8.h"

namespace {

// One record: the length, then the bytes, padded to `width`.
void record(std::string& out, const std::string& bytes, std::size_t width) {
  std::string cell(width + 1, '\0');
  cell[0] = static_cast<char>(bytes.size());
  bytes.copy(cell.data() + 1, width);
  out += cell;
}

}  // namespace

int main() {
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  std::string out;
  for (unsigned code = 0; code < 0x100; ++code) record(out, decor::gbkToUtf8(std::string(1, static_cast<char>(code))), 4);
  for (unsigned code = 0; code < 0x10000; ++code) {
    const std::string pair{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    record(out, decor::gbkToUtf8(pair), 8);
  }
  for (char32_t cp = 0; cp <= 0x10FFFF; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    std::string utf8;
    decor::appendUtf8(utf8, cp);
    record(out, decor::utf8ToGbk(utf8), 2);
  }
  return std::fwrite(out.data(), 1, out.size(), stdout) == out.size() ? 0 : 1;
}
