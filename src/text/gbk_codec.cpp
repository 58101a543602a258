#include "text/gbk_codec.h"

#include <cerrno>

#include "text/utf8.h"

namespace decor {
namespace {

#ifndef _WIN32
class Converter {
 public:
  Converter(GbkCodec::OpenConverter open, const char* to, const char* from) : cd_(open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts one complete input; false with the error number when iconv refuses any of it.
  bool convert(std::string_view in, std::string& out, int& error) {
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char buffer[16];
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t rc = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
    error = errno;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    if (rc == static_cast<std::size_t>(-1) || inLeft != 0) return false;
    out.assign(buffer, static_cast<std::size_t>(outPtr - buffer));
    return true;
  }

 private:
  iconv_t cd_;
};

// One UTF-16 unit from a UTF-8 text that holds exactly one BMP character; 0xFFFF otherwise.
char16_t singleBmpCodePoint(std::string_view utf8) {
  const Utf8Char c = decodeUtf8At(utf8, 0);
  if (!c.valid || c.length != utf8.size() || c.codePoint >= 0x10000) return 0xFFFF;
  return static_cast<char16_t>(c.codePoint);
}
#endif

// Copies the run of ASCII bytes that starts at `from` (both encodings leave ASCII as it is)
// and returns where the run ends.
std::size_t appendAsciiRun(std::string_view text, std::size_t from, std::string& out) {
  std::size_t end = from + 1;
  while (end < text.size() && static_cast<unsigned char>(text[end]) < 0x80) ++end;
  out.append(text.substr(from, end - from));
  return end;
}

}  // namespace

#ifndef _WIN32
GbkCodec::GbkCodec(OpenConverter open) {
  Converter encoder(open, "GBK", "UTF-8");
  Converter decoder(open, "UTF-8", "GBK");
  if (!encoder.ok() || !decoder.ok()) return;

  std::string out;
  int error = 0;
  toGbk_.assign(0x10000, kNone);
  for (char32_t cp = 0; cp < 0x10000; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    std::string utf8;
    appendUtf8(utf8, cp);
    if (!encoder.convert(utf8, out, error)) continue;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(out[i]); };
    if (out.size() == 1) toGbk_[cp] = byte(0);
    if (out.size() == 2) toGbk_[cp] = static_cast<char16_t>(byte(0) << 8 | byte(1));
  }

  singleByte_.assign(0x100, kNone);
  doubleByte_.assign(0x10000, kNone);
  for (unsigned lead = 0; lead < 0x100; ++lead) {
    const char one[1] = {static_cast<char>(lead)};
    if (decoder.convert({one, 1}, out, error)) {
      singleByte_[lead] = singleBmpCodePoint(out);
      continue;
    }
    if (error != EINVAL) continue;  // not even the start of a character
    singleByte_[lead] = kLead;
    for (unsigned trail = 0; trail < 0x100; ++trail) {
      const char two[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      if (decoder.convert({two, 2}, out, error)) doubleByte_[lead << 8 | trail] = singleBmpCodePoint(out);
    }
  }
  hasConverter_ = true;
  asciiUnchanged_ = asciiMapsToItself();
}
#endif

bool GbkCodec::asciiMapsToItself() const {
  for (char16_t c = 0; c < 0x80; ++c) {
    if (toGbk_[c] != c || singleByte_[c] != c) return false;
  }
  return true;
}

std::string GbkCodec::utf8ToGbk(std::string_view utf8) const {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    if (static_cast<unsigned char>(utf8[i]) < 0x80 && asciiUnchanged_) {  // a run of ASCII as it is
      i = appendAsciiRun(utf8, i, out);
      continue;
    }
    const Utf8Char c = decodeUtf8At(utf8, i);
    i += c.length;
    char16_t code = kNone;
    if (c.valid && hasConverter_ && c.codePoint < 0x10000) {
      code = toGbk_[c.codePoint];
    } else if (c.valid && c.codePoint < 0x80) {
      code = static_cast<char16_t>(c.codePoint);  // no converter: ASCII still passes
    }
    if (code == kNone) {
      out.push_back('?');
    } else if (code < 0x100) {
      out.push_back(static_cast<char>(code));
    } else {
      out.push_back(static_cast<char>(code >> 8));
      out.push_back(static_cast<char>(code & 0xFF));
    }
  }
  return out;
}

std::string GbkCodec::gbkToUtf8(std::string_view gbk) const {
  std::string out;
  out.reserve(gbk.size() * 3 / 2);
  for (std::size_t i = 0; i < gbk.size();) {
    const auto lead = static_cast<unsigned char>(gbk[i]);
    if (lead < 0x80 && asciiUnchanged_) {
      i = appendAsciiRun(gbk, i, out);
      continue;
    }
    if (!hasConverter_) {
      out.push_back(lead < 0x80 ? static_cast<char>(lead) : '?');
      ++i;
      continue;
    }
    char16_t cp = singleByte_[lead];
    std::size_t length = 1;
    if (cp == kLead) {
      cp = kNone;
      if (i + 1 < gbk.size()) {
        cp = doubleByte_[lead << 8 | static_cast<unsigned char>(gbk[i + 1])];
        if (cp != kNone) length = 2;
      }
    }
    if (cp == kNone) {
      out.push_back('?');
    } else {
      appendUtf8(out, cp);
    }
    i += length;
  }
  return out;
}

const GbkCodec& gbkCodec() {
  static const GbkCodec codec;
  return codec;
}

}  // namespace decor
