// The GBK conversions on any bytes: valid output, one "?" at most per input byte, and text
// that went through GBK once comes back unchanged.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "text/codepage.h"
#include "text/utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string gbk = decor::utf8ToGbk(bytes);
  FUZZ_CHECK(gbk.size() <= bytes.size());  // no character grows on the way to GBK
  const std::string utf8 = decor::gbkToUtf8(bytes);
  FUZZ_CHECK(decor::isValidUtf8(utf8));
  FUZZ_CHECK(utf8.size() <= bytes.size() * 3);  // 0x80 alone is "€", three bytes
  const std::string accepted = decor::cutAtZeroByteAndRoundTripGbk(bytes);
  FUZZ_CHECK(decor::isValidUtf8(accepted));
  FUZZ_CHECK(accepted.find('\0') == std::string::npos);
  FUZZ_CHECK(decor::cutAtZeroByteAndRoundTripGbk(accepted) == accepted);
  FUZZ_CHECK(decor::gbkToUtf8(decor::utf8ToGbk(accepted)) == accepted);
  return 0;
}
