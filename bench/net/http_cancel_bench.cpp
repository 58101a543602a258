// How soon a cancelled transfer ends: a GET and a POST hang on a server that accepts and never
// answers, under the program's own 18-second limits, until the flag is set. The figure is the
// time from cancel() until both have returned.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <thread>

#include "local_http_server.h"
#include "net/http_client.h"

namespace {

void BM_CancelEndsHangingTransfers(benchmark::State& state) {
  using namespace std::chrono_literals;
  decor::test::LocalHttpServer silent = decor::test::LocalHttpServer::silent();
  for (auto _ : state) {
    state.PauseTiming();
    decor::CancelFlag cancel;
    const std::size_t connectedBefore = silent.connectionCount();
    std::thread fetching([&] { benchmark::DoNotOptimize(decor::fetchUrlBody(silent.url("/"), {}, &cancel)); });
    std::thread posting([&] {
      std::string method = "POST";
      benchmark::DoNotOptimize(decor::httpRequest(silent.url("/"), method, {}, nullptr, "a=1", nullptr, {}, &cancel));
    });
    while (silent.connectionCount() < connectedBefore + 2) std::this_thread::sleep_for(1ms);
    state.ResumeTiming();
    cancel.cancel();
    fetching.join();
    posting.join();
  }
}
BENCHMARK(BM_CancelEndsHangingTransfers)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

}  // namespace
