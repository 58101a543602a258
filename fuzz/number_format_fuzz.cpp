// Number-to-text of arbitrary doubles and floats (NaN, infinities and subnormals included):
// never "inf" or "nan", and the text reads back as the value it was printed from.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_check.h"
#include "text/number_format.h"
#include "text/text_to_number.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  double value = 0;
  float single = 0;
  std::int64_t integer = 0;
  if (size >= sizeof value) std::memcpy(&value, data, sizeof value);
  if (size >= sizeof single) std::memcpy(&single, data, sizeof single);
  if (size >= sizeof integer) std::memcpy(&integer, data, sizeof integer);

  const std::string d = decor::formatDouble(value);
  const std::string s = decor::formatSingle(value);
  const std::string f = decor::formatSingle(single);
  const std::string i = decor::formatInteger(integer);
  for (const std::string* text : {&d, &s, &f, &i}) {
    FUZZ_CHECK(decor::fuzz::showsNoInfOrNan(*text));
    FUZZ_CHECK(!text->empty() && text->size() <= 24);
    FUZZ_CHECK(text->find(',') == std::string::npos);
  }
  if (std::isfinite(single)) {
    // Six significant digits identify the float to within a relative 5e-6.
    const double back = decor::textToNumber(f);
    FUZZ_CHECK(std::fabs(back - single) <= std::fabs(static_cast<double>(single)) * 6e-6 + 1e-300);
  }
  if (std::isfinite(value)) {
    const double back = decor::textToNumber(d);
    FUZZ_CHECK(std::fabs(back - value) <= std::fabs(value) * 6e-13 + 1e-300 || std::fabs(value) < 1e-300);
  }
  FUZZ_CHECK(decor::textToNumber(i) == static_cast<double>(integer));
  return 0;
}
