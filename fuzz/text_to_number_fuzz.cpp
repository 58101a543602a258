// The text-to-number rule on any bytes: never undefined, and the integer form is always the
// truncation of the number.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>

#include "fuzz_check.h"
#include "text/text_to_number.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const double number = decor::textToNumber(text);
  FUZZ_CHECK(!std::isnan(number));
  const std::int32_t whole = decor::textToInt32(text);
  FUZZ_CHECK(whole == decor::truncateToInt32(number));
  if (number >= 0 && number < 2147483648.0) FUZZ_CHECK(whole == static_cast<std::int32_t>(number));
  // Folding is done once: folded text reads as the same number.
  const std::string folded = decor::foldFullWidth(text);
  FUZZ_CHECK(decor::foldFullWidth(folded) == folded);
  FUZZ_CHECK(decor::textToNumber(folded) == number);
  return 0;
}
