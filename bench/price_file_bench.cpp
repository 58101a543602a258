// How long the start-up worker spends reading the two price files.
#include <benchmark/benchmark.h>

#include <string>

#include "pricing/price_defaults.h"
#include "pricing/price_files.h"
#include "text/codepage.h"
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

// An 8 MiB item price file: the real entries padded with comment lines full of markers that
// belong to no key, as a hostile or broken server might send.
void BM_ParseEightMebibyteItemFile(benchmark::State& state) {
  const std::string entries = itemFile();
  const std::string filler = "<!-- 木门\" value=\"1\" 😀😀 tail\" value=\" -->\n";
  std::string file;
  while (file.size() + entries.size() < 8u * 1024 * 1024) file += filler;
  file += entries;
  for (auto _ : state) benchmark::DoNotOptimize(decor::parseItemPriceFile(file));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(file.size()));
}
BENCHMARK(BM_ParseEightMebibyteItemFile)->Unit(benchmark::kMillisecond);

// 10 MB of characters GBK cannot hold, each of which becomes "?".
void BM_TenMegabytesOfEmojiToGbk(benchmark::State& state) {
  std::string text;
  while (text.size() < 10'000'000) text += "😀";
  for (auto _ : state) benchmark::DoNotOptimize(decor::cutAtZeroByteAndRoundTripGbk(text));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_TenMegabytesOfEmojiToGbk)->Unit(benchmark::kMillisecond);

void BM_NumberRoundTrip(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(decor::formatSingle(decor::textToNumber("１２３４.５６７")));
}
BENCHMARK(BM_NumberRoundTrip);

}  // namespace
