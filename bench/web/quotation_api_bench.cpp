// What one POST /api/quotation costs the server: the whole handler in-process (the body read,
// the build on the price files, the edits, the answer written) for flats of 10, 100 and 1000
// rooms, half and full package, with the size of the answer.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "domain/vocabulary.h"
#include "json/json.h"
#include "pricing/price_file_writer.h"
#include "pricing/price_table.h"
#include "server/web/web_edition.h"

namespace {

std::string body(std::size_t rooms, const char* package) {
  decor::json::Array list;
  for (std::size_t i = 0; i < rooms; ++i) {
    const std::string_view type = decor::kRoomTypes[i % decor::kRoomTypes.size()];
    list.push_back(decor::json::Array{type, std::to_string(3000 + i % 700) + "*2800*2920", "800*1500",
                                      i % 3 == 0 ? "推拉门" : "实木门", "1", "4"});
  }
  // A customer's few commands on top of the build.
  const decor::json::Array edits{
      decor::json::Object{{"op", "modify"}, {"row", decor::json::Value::integer(2)}, {"name", "顶面批腻子"},
                          {"unit", "M2"}, {"quantity", "10"}, {"price", "15"}},
      decor::json::Object{{"op", "delete"}, {"row", decor::json::Value::integer(3)}},
      decor::json::Object{{"op", "add"}, {"name", "清水漆"}, {"quantity", "3"}, {"price", "44.5"}},
  };
  return decor::json::write(decor::json::Object{{"rooms", std::move(list)},
                                                {"grade", decor::kGradeComfort},
                                                {"package", package},
                                                {"floor", "地板"},
                                                {"edits", edits}});
}

void BM_QuotationApi(benchmark::State& state, const char* package) {
  decor::web::WebServices services;
  const std::string estimates = decor::estimatePriceFile(decor::EstimatePrices::defaults());
  const std::string items = decor::itemPriceFile(decor::ItemPrices::defaults());
  services.priceFiles = [&] { return std::optional(std::pair(estimates, items)); };
  services.today = [] { return std::string("2026-12-09"); };
  const decor::web::WebEdition web(std::move(services), {});
  decor::web::WebRequest request;
  request.method = "POST";
  request.path = "/api/quotation";
  request.headers = {{"content-type", "application/json"}, {"host", "127.0.0.1"}};
  request.body = body(static_cast<std::size_t>(state.range(0)), package);
  std::size_t replyBytes = 0;
  for (auto _ : state) {
    const decor::web::WebReply reply = web.answer(request);
    if (reply.status != 200) state.SkipWithError(reply.body.c_str());
    replyBytes = reply.body.size();
    benchmark::DoNotOptimize(reply.body.data());
  }
  state.counters["body_bytes"] = static_cast<double>(request.body.size());
  state.counters["reply_bytes"] = static_cast<double>(replyBytes);
}
BENCHMARK_CAPTURE(BM_QuotationApi, half, "半包")->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_QuotationApi, full, "全包")->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
