// textBetween on any text and markers, and the one-pass key search against it.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

#include "fuzz_check.h"
#include "text/text_between.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string start = input.ConsumeRandomLengthString(16);
  const std::string end = input.ConsumeRandomLengthString(8);
  const std::size_t position = input.ConsumeIntegralInRange<std::size_t>(0, 64);
  const bool caseSensitive = input.ConsumeBool();
  std::vector<std::string> keys;
  for (int i = input.ConsumeIntegralInRange(0, 4); i > 0; --i) keys.push_back(input.ConsumeRandomLengthString(8));
  const std::string text = input.ConsumeRemainingBytesAsString();

  const std::string between = decor::textBetween(text, start, end, position, caseSensitive);
  FUZZ_CHECK(between.size() <= text.size());
  FUZZ_CHECK(text.find(between) != std::string::npos);  // always a piece of the text

  std::vector<std::string_view> keyViews;
  for (const std::string& key : keys) {
    if (key.find('#') == std::string::npos) keyViews.push_back(key);
  }
  const std::vector<std::string> values = decor::textsAfterKeys(text, keyViews, "\" value=\"", '"');
  FUZZ_CHECK(values.size() == keyViews.size());
  for (std::size_t k = 0; k < keyViews.size(); ++k)
    FUZZ_CHECK(values[k] == decor::textBetween(text, std::string(keyViews[k]) + "\" value=\"", "\""));
  return 0;
}
