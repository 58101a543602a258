// The program against real HTTP servers on this machine: what the start-up worker brings in,
// and ending while workers hang on a server that never answers and a quotation is saved.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "app/main_window.h"
#include "app/program.h"
#include "app/quotation_controller.h"
#include "app/quotation_window.h"
#include "app/quote_sharing.h"
#include "app/result_window.h"
#include "gui_test_support.h"
#include "living_room_quote.h"
#include "local_http_server.h"
#include "net/http_url_fetcher.h"
#include "pricing/price_defaults.h"
#include "settings_file.h"
#include "ui/picture_box.h"
#include "ui/picture_button.h"

namespace decor::test {
namespace {

using namespace std::chrono_literals;

const QString kCounter4567 = QStringLiteral("TarselCorvalen装饰公司报价评估工具 － 已帮助 4567 位业主预算过报价！");

AppServices pointedAt(AppServices services, const std::string& address) {
  services.endpoints.statisticsServer = address;
  services.endpoints.configServer = address;
  services.endpoints.estimateServer = address;
  services.endpoints.chatHost = address;
  services.endpoints.locationService = address;
  return services;
}

AppServices servicesAt(const std::string& address, FetchLimits limits) {
  return pointedAt(testServices(std::make_shared<HttpUrlFetcher>(limits)), address);
}

std::string requestLine(const std::string& request) { return request.substr(0, request.find("\r\n")); }

// Serves the counter, the two price files and the status picture as the company would.
std::string companyServer(const std::string& request, const std::string& picture) {
  const std::string line = requestLine(request);
  if (line == "GET /bjtj/love.txt HTTP/1.0") return okReply("4567");
  if (line == "GET /bjtj/ HTTP/1.0") return okReply("<html>counted</html>");
  if (line == "GET /pa?p=2:12345:41 HTTP/1.0") return okReply(picture, "Content-Type: image/png\r\n");
  if (line == "GET /bj/AppConfig.xml HTTP/1.0") {
    return okReply(settingsFile(estimatePriceDefaults(), {{"舒适型鞋柜", "777"}, {"舒适型衣柜", "3100"}}));
  }
  return "HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\nConnection: close\r\n\r\nnot found";
}

QStringList lines(const QString& text) { return text.split(QChar('\n')); }

TEST(NetworkStartUp, ShowsTheServedCounterAndPictureAndEstimatesWithTheServedPrices) {
  LocalHttpServer server([](const std::string& request) { return companyServer(request, statusPictureBytes()); });
  AppServices services = servicesAt(server.address(), FetchLimits{.connect = 1s, .stall = 2s});
  auto window = std::make_unique<MainWindow>(services);
  window->start();

  EXPECT_TRUE(waitUntil([&] { return control<QLabel>(*window, "标签17")->text() == kCounter4567; }))
      << control<QLabel>(*window, "标签17")->text().toStdString();
  EXPECT_TRUE(waitUntil([&] { return !control<PictureBox>(*window, "图片框1")->pixmap().isNull(); }));
  EXPECT_EQ(control<PictureBox>(*window, "图片框1")->pixmap().size(), QSize(77, 22));
  ASSERT_TRUE(waitUntil([&] { return services.state->prices.estimatePrice("舒适型鞋柜") == 777; }));

  std::vector<std::string> startUpRequests;
  for (const std::string& request : server.requests()) startUpRequests.push_back(requestLine(request));
  EXPECT_EQ(startUpRequests, (std::vector<std::string>{
                                 "GET /pa?p=2:12345:41 HTTP/1.0",
                                 "GET /bjtj/ HTTP/1.0",
                                 "GET /bjtj/love.txt HTTP/1.0",
                                 "GET /bj/AppConfig.xml HTTP/1.0",
                                 "GET /bj/Xiangxi.xml HTTP/1.0",
                             }));
  // The item file was not found: that half keeps its defaults.
  EXPECT_EQ(services.state->prices.itemPrice("实木门"), "1480");

  QTest::mouseClick(control<PictureButton>(*window, "按钮1"), Qt::LeftButton);
  ASSERT_TRUE(waitUntil([&] { return window->resultWindow() != nullptr; }));
  const QStringList shown = lines(control<QPlainTextEdit>(*window->resultWindow(), "编辑框1")->toPlainText());
  EXPECT_TRUE(shown.contains(QStringLiteral("鞋柜:777"))) << shown.join('|').toStdString();
  EXPECT_TRUE(shown.contains(QStringLiteral("衣柜：9300元"))) << shown.join('|').toStdString();
  EXPECT_FALSE(shown.contains(QStringLiteral("鞋柜:650")));

  window->resultWindow()->markSent();
  window.reset();
  flushDeletes();
}

TEST(NetworkStartUp, BytesThatAreNotAPictureShowNothing) {
  LocalHttpServer server([](const std::string& request) { return companyServer(request, "<html>offline</html>"); });
  AppServices services = servicesAt(server.address(), FetchLimits{.connect = 1s, .stall = 2s});
  MainWindow window(services);
  window.start();
  // The counter is posted after the picture, so by then the picture has had its turn.
  ASSERT_TRUE(waitUntil([&] { return control<QLabel>(window, "标签17")->text() == kCounter4567; }));
  EXPECT_TRUE(control<PictureBox>(window, "图片框1")->pixmap().isNull());
  EXPECT_EQ(requestLine(server.requests().at(0)), "GET /pa?p=2:12345:41 HTTP/1.0");
}

// Runs in a child process, as main() does: the program ends while the start-up worker and a
// counter refresh hang on a server that never answers (with the program's own HTTP client and
// 18-second limits) and a quotation is being saved into `folder`. Exit code 4 means the
// program did not end at all, 5 that it ended only when those limits had passed: the requests
// began before the main window closed, so waiting for them takes more than half their limit
// after it, while a loaded machine finishes the save and ends in far less.
// The child ends without exit-time clean-up only because the test's QApplication still lives
// here; the program's main() has destroyed its own by then.
void endWhileWorkersHangOnASilentServer(const QString& folder) {
  using Clock = std::chrono::steady_clock;
  LocalHttpServer silent = LocalHttpServer::silent();
  AppServices services = pointedAt(AppServices::forDesktop(), silent.address());

  MainWindow* window = nullptr;
  QuotationWindow* quotation = nullptr;
  Clock::time_point closedAt;
  QTimer driver;
  QObject::connect(&driver, &QTimer::timeout, [&] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (auto* main = qobject_cast<MainWindow*>(widget); main != nullptr && main->isVisible()) window = main;
    }
    // Both the start-up worker and the refresh of the estimate button are stuck in a request.
    if (window == nullptr || silent.connectionCount() < 1) return;
    if (control<PictureButton>(*window, "按钮1")->isEnabled()) {
      control<PictureButton>(*window, "按钮1")->click();
    } else if (silent.connectionCount() >= 2 && quotation == nullptr) {
      quotation = new QuotationWindow(services, QuoteRequest{.rooms = {livingRoom()}, .grade = "舒适型装修"}, window);
      quotation->controller().start();
    } else if (quotation != nullptr && !quotation->controller().building()) {
      driver.stop();
      quotation->controller().sharing().save(QuoteSharing::Format::Excel,
                                             QDir(folder).filePath(QStringLiteral("报价.xlsx")));
      closedAt = Clock::now();
      window->close();
    }
  });
  driver.start(10);
  QTimer deadline;
  deadline.setSingleShot(true);
  QObject::connect(&deadline, &QTimer::timeout, [] { std::_Exit(4); });
  deadline.start(60000);

  const int exitCode = runProgram(services);
  const bool inTime = Clock::now() - closedAt < FetchLimits{}.stall / 2;
  std::fflush(nullptr);
  std::_Exit(inTime ? exitCode : 5);
}

TEST(ProgramEndDeathTest, EndsWithoutWaitingForWorkersHangingOnASilentServerAndASaveFinishes) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // The child runs this body again: it saves into the folder its parent made.
  const char* const kFolderVariable = "DECOR_TEST_END_FOLDER";
  std::optional<QTemporaryDir> own;
  if (qEnvironmentVariableIsEmpty(kFolderVariable)) {
    own.emplace();
    ASSERT_TRUE(own->isValid());
    qputenv(kFolderVariable, QFile::encodeName(own->path()));
  }
  const QString folder = qEnvironmentVariable(kFolderVariable);
  EXPECT_EXIT(endWhileWorkersHangOnASilentServer(folder), ::testing::ExitedWithCode(0), "");
  qunsetenv(kFolderVariable);
  // The save ran to its end: the file is there, its hidden temporary file is not.
  EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
            QStringList{QStringLiteral("报价.xlsx")});
}

}  // namespace
}  // namespace decor::test
