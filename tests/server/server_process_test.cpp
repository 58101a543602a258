// The decor-company-server program itself, as staff and scripts run it.
#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>

#include "server_process.h"
#include "server_test_support.h"

namespace decor::server {
namespace {

using decor::testing::runCommand;
using decor::testing::ServerProcess;

const std::filesystem::path kServer = DECOR_SERVER_PATH;

class ServerProgramTest : public TempFolderTest {
 protected:
  std::vector<std::string> dataArgs() const {
    return {"--data", (folder_ / "company.sqlite3").string(), "--prices", (folder_ / "prices").string()};
  }
  static httplib::Client clientFor(const std::string& address) {
    httplib::Client client(address);
    client.set_connection_timeout(5);
    return client;
  }
};

TEST_F(ServerProgramTest, EveryAcknowledgedQuoteSurvivesKillMinusNine) {
  std::vector<std::string> acknowledged;
  {
    ServerProcess server(kServer, dataArgs());
    ASSERT_NE(server.address(), "") << server.output();
    EXPECT_EQ(server.output(), "正在监听 " + server.address() + "\n");
    auto client = clientFor(server.address());
    for (int i = 0; i < 30; ++i) {
      const std::string phone = "1380000" + std::to_string(1000 + i);
      const auto res = client.Post("/site/send", "email=k@x&result=%E7%AC%AC" + std::to_string(i) + "&tel=" + phone,
                                   "application/x-www-form-urlencoded");
      if (res && res->body == "发送成功") acknowledged.push_back(phone);
    }
    EXPECT_EQ(server.stop(SIGKILL), 128 + SIGKILL);
  }
  ASSERT_EQ(acknowledged.size(), 30u);

  // The same file opens again at once: no stale claim, every quote there, newest first.
  ServerProcess restarted(kServer, dataArgs());
  ASSERT_NE(restarted.address(), "") << restarted.output();
  const auto inbox = runCommand(kServer, {"inbox", "--data", (folder_ / "company.sqlite3").string(), "--csv"});
  ASSERT_EQ(inbox.code, 0) << inbox.output;
  std::string expectedRows;
  for (auto it = acknowledged.rbegin(); it != acknowledged.rend(); ++it) {
    expectedRows += ",k@x," + *it + ",第" + std::to_string(29 - (it - acknowledged.rbegin())) + "\r\n";
  }
  std::string rowsWithoutTimes;
  for (std::size_t at = inbox.output.find("\r\n") + 2; at < inbox.output.size();) {
    const auto end = inbox.output.find("\r\n", at) + 2;
    const std::string row = inbox.output.substr(at, end - at);
    rowsWithoutTimes += row.substr(row.find(','));
    at = end;
  }
  EXPECT_TRUE(inbox.output.starts_with("时间,邮箱,手机,报价内容\r\n"));
  EXPECT_EQ(rowsWithoutTimes, expectedRows);
  EXPECT_EQ(restarted.stop(SIGTERM), 0);
}

TEST_F(ServerProgramTest, CounterSurvivesARestartAndTermEndsCleanly) {
  {
    ServerProcess server(kServer, dataArgs());
    ASSERT_NE(server.address(), "") << server.output();
    auto client = clientFor(server.address());
    for (int i = 0; i < 3; ++i) client.Get("/bjtj/");
    EXPECT_EQ(server.stop(SIGTERM), 0);
  }
  ServerProcess server(kServer, dataArgs());
  ASSERT_NE(server.address(), "") << server.output();
  auto client = clientFor(server.address());
  client.Get("/bjtj/");
  const auto count = client.Get("/bjtj/love.txt");
  ASSERT_TRUE(count);
  EXPECT_EQ(count->body, "4");
  EXPECT_EQ(server.stop(SIGINT), 0);
}

TEST_F(ServerProgramTest, ASecondServerOnTheSameFileIsRefused) {
  ServerProcess first(kServer, dataArgs());
  ASSERT_NE(first.address(), "") << first.output();
  ServerProcess second(kServer, dataArgs());
  EXPECT_EQ(second.address(), "");
  EXPECT_EQ(second.output(), "decor-company-server: 数据库文件 " + (folder_ / "company.sqlite3").string() +
                                 " 正被另一个 decor-company-server 使用，不能同时启动两个服务器\n");
  EXPECT_EQ(second.waitForExit(), 1);
}

TEST_F(ServerProgramTest, StaffCommands) {
  const auto prices = runCommand(kServer, {"prices", "--write", (folder_ / "p").string()});
  EXPECT_EQ(prices.code, 0);
  EXPECT_EQ(prices.output, "已写出 " + (folder_ / "p" / "AppConfig.xml").string() + "\n已写出 " +
                               (folder_ / "p" / "Xiangxi.xml").string() + "\n");
  const auto again = runCommand(kServer, {"prices", "--write", (folder_ / "p").string()});
  EXPECT_EQ(again.code, 1);
  EXPECT_EQ(again.output, "decor-company-server: " + (folder_ / "p" / "AppConfig.xml").string() + " 已存在，未覆盖\n");

  const auto missing = runCommand(kServer, {"inbox", "--data", (folder_ / "none.sqlite3").string()});
  EXPECT_EQ(missing.code, 1);
  EXPECT_EQ(missing.output, "decor-company-server: 数据库文件 " + (folder_ / "none.sqlite3").string() + " 不存在\n");

  const auto badPort = runCommand(kServer, {"--port", "70000"});
  EXPECT_EQ(badPort.code, 2);
  EXPECT_EQ(badPort.output, "decor-company-server: 端口应为 0 到 65535 的整数：70000\n");

  const auto help = runCommand(kServer, {"--help"});
  EXPECT_EQ(help.code, 0);
  EXPECT_TRUE(help.output.starts_with("用法: decor-company-server [--host 地址] [--port 端口]")) << help.output;
}

}  // namespace
}  // namespace decor::server
