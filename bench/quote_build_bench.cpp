// How long the quotation window waits for its table: the quote build for flats of 10, 100
// and 1000 rooms, all seven room types in turn, at the comfort and luxury grades.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "pricing/price_table.h"
#include "quotation_rows/quote_build.h"

namespace {

decor::QuoteRequest flat(std::size_t rooms, const char* grade) {
  decor::QuoteRequest request;
  request.grade = grade;
  request.floor = decor::FloorChoice::Tiles;
  for (std::size_t i = 0; i < rooms; ++i) {
    const std::string_view type = decor::kRoomTypes[i % decor::kRoomTypes.size()];
    request.rooms.push_back(decor::RoomEntry{std::string(type), std::to_string(3000 + i % 700) + "*2800*2920",
                                             "800*1500", i % 3 == 0 ? "推拉门" : "实木门", "1", "4"});
  }
  return request;
}

void BM_QuoteBuild(benchmark::State& state, const char* grade) {
  const decor::QuoteRequest request = flat(static_cast<std::size_t>(state.range(0)), grade);
  const decor::ItemPrices prices = decor::ItemPrices::defaults();
  std::size_t rows = 0;
  for (auto _ : state) {
    decor::QuoteTable table;
    benchmark::DoNotOptimize(decor::buildRoomWorksAndFees(request, prices, table));
    rows = table.size();
  }
  state.counters["rows"] = static_cast<double>(rows);
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK_CAPTURE(BM_QuoteBuild, comfort, "舒适型装修")->Arg(10)->Arg(100)->Arg(1000);
BENCHMARK_CAPTURE(BM_QuoteBuild, luxury, "豪华型装修")->Arg(10)->Arg(100)->Arg(1000);

// The same build with a listener that copies every row, as the window does to show it.
void BM_QuoteBuildWithListener(benchmark::State& state) {
  const decor::QuoteRequest request = flat(static_cast<std::size_t>(state.range(0)), "舒适型装修");
  const decor::ItemPrices prices = decor::ItemPrices::defaults();
  for (auto _ : state) {
    decor::QuoteTable table;
    std::vector<decor::QuoteItem> shown;
    table.setRowListener([&](std::size_t, const decor::QuoteItem& row) { shown.push_back(row); });
    benchmark::DoNotOptimize(decor::buildRoomWorksAndFees(request, prices, table));
    benchmark::DoNotOptimize(shown.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_QuoteBuildWithListener)->Arg(10)->Arg(100)->Arg(1000);

}  // namespace
