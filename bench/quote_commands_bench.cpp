// The quotation window's commands on large full-package quotations: 修改, 删除此项 and
// 添加项 on tables of about 1 000 to 10 000 rows. Each must stay linear in the row count.
#include <benchmark/benchmark.h>

#include <string>

#include "quotation/quotation_session.h"
#include "pricing/price_table.h"
#include "quotation_rows/quote_build.h"
#include "quotation_rows/quote_commands.h"

namespace {

// A full-package quotation of at least `rows` rows: all seven room types in turn.
decor::QuoteTable fullQuote(std::size_t rows) {
  decor::QuoteRequest request;
  request.grade = "舒适型装修";
  request.scope = decor::PackageScope::Full;
  request.floor = decor::FloorChoice::Tiles;
  decor::QuoteTable table;
  const decor::ItemPrices prices = decor::ItemPrices::defaults();
  while (table.size() < rows) {
    for (std::size_t i = 0; i < 100; ++i) {
      const std::string_view type = decor::kRoomTypes[request.rooms.size() % decor::kRoomTypes.size()];
      request.rooms.push_back(decor::RoomEntry{std::string(type), "3200*2800*2920", "800*1500", "实木门", "1", "4"});
    }
    decor::QuotationSession session(request);
    session.build(prices);
    table = std::move(session).takeTable();
  }
  return table;
}

template <typename Command>
void runCommand(benchmark::State& state, Command command) {
  const decor::QuoteTable built = fullQuote(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    decor::QuoteTable table = built;
    state.ResumeTiming();
    command(table);
    benchmark::DoNotOptimize(table.rows().data());
  }
  state.counters["rows"] = static_cast<double>(built.size());
  state.SetComplexityN(static_cast<benchmark::IterationCount>(built.size()));
}

void BM_Modify(benchmark::State& state) {
  runCommand(state, [](decor::QuoteTable& table) {
    decor::modifyRow(table, table.size() / 2, {"实木门", "扇", "2", "1480"}, decor::PackageScope::Full);
  });
}

void BM_Delete(benchmark::State& state) {
  runCommand(state, [](decor::QuoteTable& table) { decor::deleteRow(table, table.size() / 2); });
}

void BM_AddItem(benchmark::State& state) {
  runCommand(state, [](decor::QuoteTable& table) {
    decor::addItem(table, {"清水漆", "3", "44.5"}, decor::PackageScope::Full);
  });
}

BENCHMARK(BM_Modify)->Arg(1000)->Arg(2500)->Arg(5000)->Arg(10000)->Complexity();
BENCHMARK(BM_Delete)->Arg(1000)->Arg(2500)->Arg(5000)->Arg(10000)->Complexity();
BENCHMARK(BM_AddItem)->Arg(1000)->Arg(2500)->Arg(5000)->Arg(10000)->Complexity();

}  // namespace
