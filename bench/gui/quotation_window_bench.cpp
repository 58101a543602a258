// From the build's start until the quotation window shows every row of a 1 000-room
// full-package quotation, offscreen: the worker's build, the hand-off of each row through
// the dispatcher and the model's inserts into the view.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>
#include <QTreeView>
#include <cstdlib>
#include <memory>

#include "app/app_services.h"
#include "app/quotation_controller.h"
#include "app/quotation_window.h"
#include "net/url_fetcher.h"
#include "quotation_rows/quote_build.h"

namespace {

void BM_FullQuotationShown(benchmark::State& state) {
  decor::AppServices services{.state = std::make_shared<decor::AppState>(),
                              // No network: the status picture stays empty.
                              .fetcher = std::make_shared<decor::OfflineUrlFetcher>(),
                              .postForm = [](const std::string&, const std::string&) { return std::string(); },
                              .endpoints = decor::Endpoints::allAt("http://127.0.0.1:9"),
                              .openInBrowser = [](const std::string&) {},
                              .workers = std::make_shared<decor::WorkerPool>()};
  services.state->prices.resetToDefaults();
  std::vector<decor::RoomEntry> rooms;
  for (std::size_t i = 0; i < static_cast<std::size_t>(state.range(0)); ++i) {
    const std::string_view type = decor::kRoomTypes[i % decor::kRoomTypes.size()];
    rooms.push_back(decor::RoomEntry{std::string(type), "3200*2800*2920", "800*1500", "实木门", "1", "4"});
  }
  int shown = 0;
  for (auto _ : state) {
    decor::QuotationWindow window(services, decor::QuoteRequest{.rooms = rooms,
                                                                .grade = "舒适型装修",
                                                                .scope = decor::PackageScope::Full,
                                                                .floor = decor::FloorChoice::Tiles});
    window.show();
    decor::QuotationController& controller = window.controller();
    controller.start();
    if (!QTest::qWaitFor([&] { return !controller.building(); }, 60000)) state.SkipWithError("build did not end");
    QApplication::processEvents();  // the last inserts painted
    shown = window.findChild<QTreeView*>(QStringLiteral("超级列表框1"))->model()->rowCount();
  }
  state.counters["rows"] = shown;
}
BENCHMARK(BM_FullQuotationShown)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
