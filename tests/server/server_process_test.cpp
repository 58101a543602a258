// The decor-company-server program itself, as staff and scripts run it.
#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>

#include <fstream>
#include <regex>

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

TEST_F(ServerProgramTest, EveryAcknowledgedQuoteAndVisitSurvivesKillMinusNine) {
  std::string expectedInbox;
  {
    ServerProcess server(kServer, dataArgs());
    ASSERT_NE(server.address(), "") << server.output();
    EXPECT_EQ(server.output(), "正在监听 " + server.address() + "\n邮件投递未开启（没有指定 --smtp）：报价只保存在数据库中\n");
    auto client = clientFor(server.address());
    for (int i = 0; i < 3; ++i) client.Get("/bjtj/");
    for (int i = 0; i < 30; ++i) {
      const std::string phone = "1380000" + std::to_string(1000 + i);
      const auto res = client.Post("/site/send", "email=k@x&result=%E7%AC%AC" + std::to_string(i) + "&tel=" + phone,
                                   "application/x-www-form-urlencoded");
      ASSERT_TRUE(res && res->body == "发送成功") << i;
      expectedInbox.insert(0, "T,k@x," + phone + ",未投递（邮件投递未开启）,第" + std::to_string(i) + "\r\n");
    }
    EXPECT_EQ(server.stop(SIGKILL), 128 + SIGKILL);
  }

  // The same file opens again at once: no stale claim, every quote there, newest first.
  ServerProcess restarted(kServer, dataArgs());
  ASSERT_NE(restarted.address(), "") << restarted.output();
  const auto inbox = runCommand(kServer, {"inbox", "--data", (folder_ / "company.sqlite3").string(), "--csv"});
  ASSERT_EQ(inbox.code, 0) << inbox.output;
  const std::regex time("\n\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d,");
  EXPECT_EQ(std::regex_replace(inbox.output, time, "\nT,"), "时间,邮箱,手机,投递,报价内容\r\n" + expectedInbox);

  auto client = clientFor(restarted.address());
  client.Get("/bjtj/");
  const auto count = client.Get("/bjtj/love.txt");
  ASSERT_TRUE(count);
  EXPECT_EQ(count->body, "4");
  EXPECT_EQ(restarted.stop(SIGINT), 0);
}

TEST_F(ServerProgramTest, ASecondServerOnTheSameFileIsRefused) {
  ServerProcess first(kServer, dataArgs());
  ASSERT_NE(first.address(), "") << first.output();
  ServerProcess second(kServer, dataArgs());
  EXPECT_EQ(second.address(), "");
  EXPECT_EQ(second.output(), "decor-company-server: 数据库文件 " + (folder_ / "company.sqlite3").string() +
                                 " 正被另一个 decor-company-server 使用，不能同时启动两个服务器\n");
  EXPECT_EQ(second.waitForExit(), 1);
  EXPECT_EQ(first.stop(SIGTERM), 0);
}

TEST_F(ServerProgramTest, StaffCommands) {
  const std::string p = (folder_ / "p").string();
  const std::string none = (folder_ / "none.sqlite3").string();
  const std::string password = (folder_ / "password").string();
  std::ofstream(password) << "secret\n";
  std::filesystem::permissions(password, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
  const std::vector<std::string> mail{"--smtp", "smtps://smtp.example.com:465", "--mail-from", "a@b.cn"};
  auto with = [](std::vector<std::string> args, const std::vector<std::string>& more) {
    args.insert(args.end(), more.begin(), more.end());
    return args;
  };
  struct Case {
    std::vector<std::string> args;
    int code;
    std::string output;
  };
  const Case cases[] = {
      {{"prices", "--write", p}, 0, "已写出 " + p + "/AppConfig.xml\n已写出 " + p + "/Xiangxi.xml\n"},
      {{"prices", "--write", p}, 1, "decor-company-server: " + p + "/AppConfig.xml 已存在，未覆盖\n"},
      {{"inbox", "--data", none}, 1, "decor-company-server: 数据库文件 " + none + " 不存在\n"},
      {{"--port", "70000"}, 2, "decor-company-server: 端口应为 0 到 65535 的整数：70000\n"},
      {{"--smtp", "http://x"}, 2, "decor-company-server: --smtp 应以 smtp:// 或 smtps:// 开头：http://x\n"},
      {mail, 2, "decor-company-server: --sales-mail 需要一个邮箱地址（如 name@example.com）\n"},
      {with(mail, {"--sales-mail", "s@b.cn\r\nBcc: v@y.cn"}), 2,
       "decor-company-server: --sales-mail 需要一个邮箱地址（如 name@example.com）：s@b.cn\r\nBcc: v@y.cn\n"},
      {with(mail, {"--sales-mail", "s@b.cn", "--smtp-user", "u", "--smtp-password-file", password}), 2,
       "decor-company-server: 密码文件 " + password + " 其他用户也能读取，请改为只有服务用户可读（chmod 600）\n"},
      {with(mail, {"--sales-mail", "s@b.cn", "--mail-retry-first", "0"}), 2,
       "decor-company-server: 选项 --mail-retry-first 应为大于 0 的秒数：0\n"},
      {{"outbox", "--data", none}, 1, "decor-company-server: 数据库文件 " + none + " 不存在\n"},
  };
  for (const Case& c : cases) {
    const auto run = runCommand(kServer, c.args);
    EXPECT_EQ(run.code, c.code) << c.output;
    EXPECT_EQ(run.output, c.output);
  }
  const auto help = runCommand(kServer, {"--help"});
  EXPECT_EQ(help.code, 0);
  EXPECT_TRUE(help.output.starts_with("用法: decor-company-server [--host 地址] [--port 端口]")) << help.output;
}

}  // namespace
}  // namespace decor::server
