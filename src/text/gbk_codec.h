#pragma once
// The GBK conversions behind utf8ToGbk and gbkToUtf8, as lookup tables built once from the
// system's converter (iconv; on Windows code page 936, corrected to give the same tables).
// A table lookup per character keeps every conversion linear, however many characters GBK
// cannot hold. Without a GBK converter (a system without gconv modules) the codec still
// works: ASCII passes and every other character becomes "?".
#ifndef _WIN32
#include <iconv.h>
#endif

#include <string>
#include <string_view>
#include <vector>

namespace decor {

class GbkCodec {
 public:
#ifdef _WIN32
  // The Windows code page the tables come from: 936 in the program; tests pass a missing one.
  explicit GbkCodec(unsigned codePage = 936);
#else
  // How the converters are opened: iconv_open in the program; tests pass one that fails.
  using OpenConverter = iconv_t (*)(const char* toCode, const char* fromCode);

  explicit GbkCodec(OpenConverter open = &iconv_open);
#endif

  bool hasConverter() const { return hasConverter_; }

  // A character GBK cannot hold, and an invalid UTF-8 byte, become "?".
  std::string utf8ToGbk(std::string_view utf8) const;
  // An invalid GBK byte becomes "?" and the conversion goes on with the next byte.
  std::string gbkToUtf8(std::string_view gbk) const;

 private:
  // Neither value is a GBK code or a code point GBK decodes to.
  static constexpr char16_t kNone = 0xFFFF;
  static constexpr char16_t kLead = 0xFFFE;

  // Whether ASCII maps to itself both ways, once the tables are filled.
  bool asciiMapsToItself() const;

  bool hasConverter_ = false;
  bool asciiUnchanged_ = false;  // both ways, as in every GBK converter known; checked all the same
  std::vector<char16_t> toGbk_;       // by BMP code point: the GBK code (< 0x100: one byte)
  std::vector<char16_t> singleByte_;  // by byte: the code point, kLead or kNone
  std::vector<char16_t> doubleByte_;  // by lead * 256 + trail: the code point or kNone
};

// The codec of the program, built on first use (thread-safe).
const GbkCodec& gbkCodec();

}  // namespace decor
