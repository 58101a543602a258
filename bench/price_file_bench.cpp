// How long the start-up worker spends reading the two price files.
#include <benchmark/benchmark.h>

#include <string>

#include "pricing/price_defaults.h"
#include "pricing/price_files.h"
#include "text/number_format.h"
#include "text/text_to_number.h"

namespace {

std::string itemFile() {
  std::string file = "<configuration>\n  <appSettings>\n";
  for (const auto& entry : decor::itemPriceDefaults())
    file += "    <add key=\"" + std::string(entry.key) + "\" value=\"" + std::string(entry.value) + "\" />\n";
  return file + "  </appSettings>\n</configuration>\n";
}

void BM_ParseItemPriceFile(benchmark::State& state) {
  const std::string file = itemFile();
  for (auto _ : state) benchmark::DoNotOptimize(decor::parseItemPriceFile(file));
}
BENCHMARK(BM_ParseItemPriceFile);

void BM_NumberRoundTrip(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(decor::formatSingle(decor::textToNumber("１２３４.５６７")));
}
BENCHMARK(BM_NumberRoundTrip);

}  // namespace
