// The JSON reader: any text is answered without a crash and within its limits; an accepted
// text written back reads as the same value, and what the writer makes of any string is
// valid JSON that reads back as that string when it was valid UTF-8.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "json/json.h"
#include "text/utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const decor::json::Limits limits{.maxBytes = 4096, .maxDepth = input.ConsumeIntegralInRange<std::size_t>(0, 80)};
  const std::string text = input.ConsumeRemainingBytesAsString();

  const decor::json::ParseResult parsed = decor::json::parse(text, limits);
  FUZZ_CHECK(parsed.value.has_value() == parsed.error.empty());
  if (text.size() > limits.maxBytes) FUZZ_CHECK(!parsed.value);
  if (parsed.value) {
    const std::string written = decor::json::write(*parsed.value);
    FUZZ_CHECK(decor::isValidUtf8(written));
    const decor::json::ParseResult again = decor::json::parse(written, {.maxBytes = 1 << 20, .maxDepth = 100});
    FUZZ_CHECK(again.value && *again.value == *parsed.value);
  }

  const std::string quoted = decor::json::quote(text);
  const decor::json::ParseResult back = decor::json::parse(quoted, {.maxBytes = 1 << 20, .maxDepth = 1});
  FUZZ_CHECK(back.value && back.value->asString());
  if (decor::isValidUtf8(text)) FUZZ_CHECK(*back.value->asString() == text);
  return 0;
}
