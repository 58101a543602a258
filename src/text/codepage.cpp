#include "text/codepage.h"

#include "text/gbk_codec.h"

namespace decor {

std::string utf8ToGbk(std::string_view utf8) { return gbkCodec().utf8ToGbk(utf8); }

std::string gbkToUtf8(std::string_view gbk) { return gbkCodec().gbkToUtf8(gbk); }

std::string cutAtZeroByteAndRoundTripGbk(std::string_view bytes) {
  const std::size_t nul = bytes.find('\0');
  if (nul != std::string_view::npos) bytes = bytes.substr(0, nul);
  return gbkToUtf8(utf8ToGbk(bytes));
}

}  // namespace decor
