// decodeReply on any reply: what comes out is text the program keeps (valid UTF-8, no zero
// byte, no longer than the reply), and a reply without escapes is kept as any incoming text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "contact/percent_encoding.h"
#include "fuzz_check.h"
#include "text/codepage.h"
#include "text/utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view reply(reinterpret_cast<const char*>(data), size);
  const std::string decoded = decor::decodeReply(reply);
  FUZZ_CHECK(decor::isValidUtf8(decoded));
  FUZZ_CHECK(decoded.find('\0') == std::string::npos);
  // Every escape shrinks three bytes to one, and a "?" for a rejected character is no longer
  // than what it stands for.
  FUZZ_CHECK(decoded.size() <= reply.size());
  if (reply.find('%') == std::string_view::npos) FUZZ_CHECK(decoded == decor::cutAtZeroByteAndRoundTripGbk(reply));
  return 0;
}
