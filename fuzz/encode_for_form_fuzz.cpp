// encodeForForm on any bytes: pure ASCII with every special character escaped, nothing lost
// (a plain percent decoding gives the bytes back), and the program's own reply decoding
// gives back the text as the program keeps incoming text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "contact/percent_encoding.h"
#include "fuzz_check.h"
#include "text/codepage.h"

namespace {

constexpr std::string_view kMustBeEscaped = "~!@#$^&*()-_=+[{]};:'\\|,<.>/?`\"\r\n\t";

int upperHexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string encoded = decor::encodeForForm(bytes);

  std::string undone;
  for (std::size_t i = 0; i < encoded.size(); ++i) {
    const auto byte = static_cast<unsigned char>(encoded[i]);
    FUZZ_CHECK(byte != 0 && byte < 0x80);
    FUZZ_CHECK(kMustBeEscaped.find(encoded[i]) == std::string_view::npos);
    if (encoded[i] != '%') {
      undone += encoded[i];
      continue;
    }
    // An escape is always "%" and two upper-case hex digits.
    FUZZ_CHECK(i + 2 < encoded.size());
    const int high = upperHexValue(encoded[i + 1]);
    const int low = upperHexValue(encoded[i + 2]);
    FUZZ_CHECK(high >= 0 && low >= 0);
    undone += static_cast<char>(high * 16 + low);
    i += 2;
  }
  FUZZ_CHECK(undone == bytes);

  const std::string decoded = decor::decodeReply(encoded);
  FUZZ_CHECK(decoded == decor::cutAtZeroByteAndRoundTripGbk(bytes));
  // Text the program keeps as it is (ASCII without a zero byte certainly) comes back whole.
  bool plainAscii = true;
  for (const char c : bytes) plainAscii = plainAscii && c != '\0' && static_cast<unsigned char>(c) < 0x80;
  if (plainAscii) FUZZ_CHECK(decoded == bytes);
  return 0;
}
