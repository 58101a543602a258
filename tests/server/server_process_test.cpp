// The decor-company-server program itself, as staff and scripts run it.
#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>
#include <sys/stat.h>

#include <atomic>
#include <fstream>
#include <mutex>
#include <regex>
#include <set>
#include <thread>

#include "mail_test_support.h"
#include "net/estimate_send.h"
#include "server/storage/database.h"
#include "server/storage/estimate_store.h"
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
    return {"--data", (folder_ / "company.sqlite3").string(), "--prices", (folder_ / "prices").string(),
            "--estimate-limit", "1000"};
  }
  static int portOf(const std::string& address) { return std::stoi(address.substr(address.rfind(':') + 1)); }
  static void visitFrom(const std::string& address, const std::string& source) {
    RawConnection connection(portOf(address), source);
    connection.send("GET /bjtj/ HTTP/1.1\r\nHost: x\r\n\r\n");
    EXPECT_EQ(connection.reply().first, 200) << source;
  }
  static httplib::Client clientFor(const std::string& address) {
    httplib::Client client(address);
    client.set_connection_timeout(5);
    return client;
  }
};

TEST_F(ServerProgramTest, EveryAcknowledgedEstimateAndVisitSurvivesKillMinusNine) {
  std::string expectedInbox;
  {
    ServerProcess server(kServer, dataArgs());
    ASSERT_NE(server.address(), "") << server.output();
    EXPECT_EQ(server.output(), "decor-company-server: 信息：启动：地址 " + server.address() + "，数据库 " +
                                   (folder_ / "company.sqlite3").string() + "，价格文件夹 " +
                                   (folder_ / "prices").string() +
                                   "（没有 AppConfig.xml、Xiangxi.xml，用内置价格），邮件投递未开启，信任的代理 无\n"
                                   "正在监听 " + server.address() + "\n邮件投递未开启（没有指定 --smtp）：报价只保存在数据库中\n");
    auto client = clientFor(server.address());
    // One visit per address is counted: three addresses, three visits.
    for (const char* source : {"127.0.0.2", "127.0.0.3", "127.0.0.4"}) visitFrom(server.address(), source);
    for (int i = 0; i < 30; ++i) {
      const std::string phone = "1380000" + std::to_string(1000 + i);
      const auto res = client.Post("/site/send", "email=k@x&result=%E7%AC%AC" + std::to_string(i) + "&tel=" + phone,
                                   "application/x-www-form-urlencoded");
      ASSERT_TRUE(res && res->body == "发送成功") << i;
      expectedInbox.insert(0, "T,k@x," + phone + ",未投递（邮件投递未开启）,第" + std::to_string(i) + "\r\n");
    }
    EXPECT_EQ(server.stop(SIGKILL), 128 + SIGKILL);
  }

  // The same file opens again at once: no stale claim, every estimate there, newest first.
  ServerProcess restarted(kServer, dataArgs());
  ASSERT_NE(restarted.address(), "") << restarted.output();
  const auto inbox = runCommand(kServer, {"inbox", "--data", (folder_ / "company.sqlite3").string(), "--csv"});
  ASSERT_EQ(inbox.code, 0) << inbox.output;
  const std::regex time("\n\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d,");
  EXPECT_EQ(std::regex_replace(inbox.output, time, "\nT,"), "\xEF\xBB\xBF时间,邮箱,手机,投递,报价内容\r\n" + expectedInbox);

  auto client = clientFor(restarted.address());
  visitFrom(restarted.address(), "127.0.0.5");
  const auto count = client.Get("/bjtj/love.txt");
  ASSERT_TRUE(count);
  EXPECT_EQ(count->body, "4");
  EXPECT_EQ(restarted.stop(SIGINT), 0);
}

// The estimate limit under its name and under the name it had before: either one limits.
TEST_F(ServerProgramTest, BothNamesOfTheEstimateLimitLimit) {
  for (const char* option : {"--estimate-limit", "--quote-limit"}) {
    ServerProcess server(kServer, {"--data", (folder_ / option).string() + ".sqlite3", option, "2"});
    ASSERT_NE(server.address(), "") << server.output();
    auto client = clientFor(server.address());
    std::vector<int> statuses;
    for (const char* phone : {"1", "2", "3"}) {
      const auto res = client.Post("/site/send", std::string("email=k@x&result=r&tel=") + phone,
                                   "application/x-www-form-urlencoded");
      statuses.push_back(res ? res->status : 0);
    }
    EXPECT_EQ(statuses, (std::vector<int>{200, 200, 429})) << option;
  }
}

// The desktop program's own post, about the size it sends today, and one near the limit.
TEST_F(ServerProgramTest, TheProgramsOwnPostIsAcknowledgedAndStored) {
  ServerProcess server(kServer, dataArgs());
  ASSERT_NE(server.address(), "") << server.output();
  std::string typical, large;
  for (int line = 0; line < 60; ++line) typical += "第" + std::to_string(line) + "项：客厅 地砖 100元 半包\r\n";
  while (large.size() < 19000) large += "全包装修 总价 88888元\r\n";  // about 60 KB once encoded
  const HttpLimits limits{.connect = std::chrono::seconds(5), .send = std::chrono::seconds(5),
                          .receive = std::chrono::seconds(5)};
  const Endpoints endpoints = Endpoints::allAt(server.address());
  EXPECT_GT(estimateFormBody("zhang@qq.com", typical, "13800138000").size(), 5000u);
  EXPECT_LT(estimateFormBody("li@qq.com", large, "13900139000").size(), 65536u);
  EXPECT_EQ(sendEstimateForm(httpFormPoster(limits), endpoints, "zhang@qq.com", typical, "13800138000"), "发送成功！");
  EXPECT_EQ(sendEstimateForm(httpFormPoster(limits), endpoints, "li@qq.com", large, "13900139000"), "发送成功！");
  // Over the limit: refused with a text, which the program shows as a failure.
  EXPECT_EQ(sendEstimateForm(httpFormPoster(limits), endpoints, "li@qq.com", large + large, "13900139000"), "发送失败！");

  std::string error;
  const auto store = EstimateStore::open(folder_ / "company.sqlite3", EstimateStore::Access::Read, error);
  ASSERT_TRUE(store) << error;
  auto estimates = store->estimatesNewestFirst();
  for (auto& estimate : estimates) estimate.received.clear();
  EXPECT_EQ(estimates, (std::vector<StoredEstimate>{{"", "li@qq.com", "13900139000", large},
                                                    {"", "zhang@qq.com", "13800138000", typical}}));
}

TEST_F(ServerProgramTest, ASecondServerOnTheSameFileIsRefused) {
  const mode_t umaskBefore = ::umask(022);  // as run by hand: the database still is owner-only
  ServerProcess first(kServer, dataArgs());
  ::umask(umaskBefore);
  ASSERT_NE(first.address(), "") << first.output();
  for (const char* suffix : {"", "-wal", "-shm"}) {
    struct stat file {};
    ASSERT_EQ(::stat(((folder_ / "company.sqlite3").string() + suffix).c_str(), &file), 0) << suffix;
    EXPECT_EQ(file.st_mode & 0777, 0600u) << suffix;
  }
  ServerProcess second(kServer, dataArgs());
  EXPECT_EQ(second.address(), "");
  EXPECT_EQ(second.output(), "decor-company-server: 错误：数据库文件 " + (folder_ / "company.sqlite3").string() +
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
      {{"--estimate-limit", "0"}, 2, "decor-company-server: --estimate-limit 应为 1 到 1000000 的整数：0\n"},
      {{"--quote-limit", "0"}, 2, "decor-company-server: --quote-limit 应为 1 到 1000000 的整数：0\n"},
      {{"--estimate-window", "x"}, 2, "decor-company-server: --estimate-window 应为 1 到 1000000 的整数：x\n"},
      {{"--quote-window", "-1"}, 2, "decor-company-server: --quote-window 应为 1 到 1000000 的整数：-1\n"},
      {{"--deadline", "1e3"}, 2, "decor-company-server: --deadline 应为 1 到 1000000 的整数：1e3\n"},
      {{"--connections-per-address", "1000001"}, 2,
       "decor-company-server: --connections-per-address 应为 1 到 1000000 的整数：1000001\n"},
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

// An IPv6 address is written in brackets, as a URL must.
TEST_F(ServerProgramTest, TheStartLineWritesAnIpv6AddressInBrackets) {
  std::vector<std::string> args = dataArgs();
  args.insert(args.end(), {"--host", "::1"});
  ServerProcess server(kServer, args);
  ASSERT_TRUE(server.address().starts_with("http://[::1]:")) << server.output();
  EXPECT_EQ(httplib::Client(server.address()).Get("/")->status, 200);
  EXPECT_EQ(server.stop(SIGTERM), 0);
}

// SIGTERM while many clients post: the server stops taking connections, answers every
// request whose body it was sent, and exits 0; every estimate it kept was acknowledged.
TEST_F(ServerProgramTest, SigtermUnderLoadAnswersEveryRequestItWasSent) {
  ServerProcess server(kServer, dataArgs());
  ASSERT_NE(server.address(), "") << server.output();
  const int port = portOf(server.address());
  constexpr int kClients = 40;
  std::mutex mutex;
  std::set<std::string> acknowledged;  // phones
  std::vector<std::string> unanswered;
  std::atomic<int> replies = 0;
  std::vector<std::thread> clients;
  for (int c = 0; c < kClients; ++c) {
    clients.emplace_back([&, c] {
      // Each client from its own address, so that no per-address limit refuses it.
      const std::string source = "127.0.1." + std::to_string(c + 1);
      for (int i = 0;; ++i) {
        RawConnection connection(port, source);
        if (!connection.connected()) return;  // the server no longer listens
        const std::string phone = std::to_string(13900000000LL + c * 100000LL + i);
        const std::string body = "email=k@x.cn&result=%E7%AC%AC" + std::to_string(i) + "&tel=" + phone;
        const bool sent = connection.send("POST /site/send HTTP/1.1\r\nHost: x\r\n"
                                          "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: " +
                                          std::to_string(body.size()) + "\r\n\r\n" + body);
        const auto [status, text] = connection.reply();
        std::lock_guard lock(mutex);
        if (status == 200 && text == "发送成功") acknowledged.insert(phone);
        if (status != 0) ++replies;
        if (status == 0 && sent) unanswered.push_back(phone);
      }
    });
  }
  // The clients end when they can no longer connect: first stopped, then joined.
  const bool loaded = waitUntil([&] { return replies >= 300; });
  EXPECT_EQ(server.stop(SIGTERM), 0);
  for (auto& client : clients) client.join();
  ASSERT_TRUE(loaded);

  EXPECT_EQ(unanswered, std::vector<std::string>{});
  const auto inbox = runCommand(kServer, {"inbox", "--csv", "--data", (folder_ / "company.sqlite3").string()});
  ASSERT_EQ(inbox.code, 0) << inbox.output;
  std::set<std::string> stored;
  const std::regex phoneField(",(139[0-9]{8}),");
  for (std::sregex_iterator it(inbox.output.begin(), inbox.output.end(), phoneField), end; it != end; ++it) {
    stored.insert((*it)[1]);
  }
  EXPECT_EQ(stored, acknowledged);
  EXPECT_GE(acknowledged.size(), 300u);
}

// What the server cannot work without ends it at once with the reason, and a database that
// opens but cannot be read ends the staff commands the same way: never a server that answers
// nobody or an empty listing.
TEST_F(ServerProgramTest, WhatItCannotUseEndsItWithTheReason) {
  ServerProcess first(kServer, dataArgs());
  ASSERT_NE(first.address(), "") << first.output();
  const std::string port = std::to_string(portOf(first.address()));
  const std::string file = (folder_ / "a-file").string();
  std::ofstream(file) << "x";
  // A database whose estimates cannot be read: SQLite fails on every row it computes.
  const std::string broken = (folder_ / "broken.sqlite3").string();
  {
    std::string error;
    ASSERT_TRUE(EstimateStore::open(broken, EstimateStore::Access::Serve, error)) << error;
    auto db = Database::open(broken, false, error);
    ASSERT_TRUE(db) << error;
    ASSERT_TRUE(db->execute("DROP TABLE estimates; CREATE VIEW estimates AS SELECT 1 AS id,"
                            " abs(-9223372036854775807 - 1) AS received, '' AS email, '' AS phone, '' AS result;"
                            "INSERT INTO outbox (estimate_id, kind, recipient, state, queued_ms, next_ms, message)"
                            " VALUES (1, 'sales', 's@x.cn', 'pending', 0, 0, '');"));
  }
  const std::string data = (folder_ / "other.sqlite3").string();
  struct Case {
    std::vector<std::string> args;
    std::string output;
  };
  const Case cases[] = {
      {{"--data", data, "--port", port},
       "decor-company-server: 错误：无法在 127.0.0.1:" + port + " 上监听（端口可能已被占用）\n"},
      {{"--data", file + "/company.sqlite3"},
       "decor-company-server: 错误：无法打开数据库文件 " + file + "/company.sqlite3：Not a directory\n"},
      {{"--data", data, "--prices", file},
       "decor-company-server: 错误：无法读取价格文件夹 " + file + "：Not a directory\n"},
      {{"inbox", "--data", broken}, "decor-company-server: 无法读取数据库：integer overflow\n"},
      {{"outbox", "--data", broken}, "decor-company-server: 无法读取数据库：integer overflow\n"},
  };
  for (const Case& c : cases) {
    if (c.args.front() == "inbox" || c.args.front() == "outbox") {
      const auto run = runCommand(kServer, c.args);
      EXPECT_EQ(run.code, 1) << c.output;
      EXPECT_EQ(run.output, c.output);
      continue;
    }
    ServerProcess run(kServer, c.args);  // a server that started would fail here and be killed
    EXPECT_EQ(run.address(), "") << c.output;
    EXPECT_EQ(run.waitForExit(), 1) << c.output;
    EXPECT_EQ(run.output(), c.output);
  }
  EXPECT_EQ(first.stop(SIGTERM), 0);
}

}  // namespace
}  // namespace decor::server
