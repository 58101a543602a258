// The server program and a real SMTP server through the faults mail meets: the SMTP server
// down when estimates arrive, a recipient it refuses, the server killed before it delivered,
// and a burst of estimates. Retry intervals are shortened to fractions of a second.
#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>

#include <algorithm>
#include <fstream>
#include <iostream>
#include <map>
#include <mutex>
#include <regex>
#include <sstream>

#include "estimate/quick_estimate.h"
#include "mail_test_support.h"
#include "server_test_support.h"

namespace decor::server {
namespace {

using decor::testing::runCommand;
using decor::testing::ServerProcess;

const std::filesystem::path kServer = DECOR_SERVER_PATH;

std::string formEncoded(const std::string& text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    out += '%';
    out += kHex[byte >> 4];
    out += kHex[byte & 15];
  }
  return out;
}

// Message-ID → how often it arrived, and when it first did (ms since the epoch).
struct Arrivals {
  std::map<std::string, int> count;
  std::map<std::string, std::int64_t> firstMs;
  std::map<std::string, std::int64_t> customerMs;  // recipient → arrival, for customer mails
};

Arrivals arrivalsIn(const std::filesystem::path& folder) {
  Arrivals arrivals;
  std::istringstream lines(receivedMail(folder, "--arrivals"));
  std::string id, to;
  std::int64_t ms = 0;
  while (lines >> id >> to >> ms) {
    if (arrivals.count[id]++ == 0 || ms < arrivals.firstMs[id]) arrivals.firstMs[id] = ms;
    if (id.find(".customer@") != std::string::npos) arrivals.customerMs[to] = ms;
  }
  return arrivals;
}

std::int64_t nowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

class MailFaultTest : public TempFolderTest {
 protected:
  // The estimator's own text for the default rooms: the customer mail goes out for it.
  static std::string estimatorText() {
    QuickEstimator estimator;
    estimator.run({}, EstimatePrices::defaults());
    return resultWindowText(estimator.resultText());
  }
  std::filesystem::path mail() const { return folder_ / "mail"; }
  std::string data() const { return (folder_ / "company.sqlite3").string(); }

  // `binary` runs the server (a wrapper that limits it execs it with the same arguments).
  std::unique_ptr<ServerProcess> startServer(int smtpPort, const std::filesystem::path& binary = kServer) const {
    return std::make_unique<ServerProcess>(
        binary, std::vector<std::string>{"--data", data(), "--prices", (folder_ / "prices").string(), "--smtp",
                                          "smtp://127.0.0.1:" + std::to_string(smtpPort), "--mail-from",
                                          "noreply@decor.test", "--sales-mail", "sales@decor.test",
                                          "--mail-retry-first", "0.1", "--mail-retry-longest", "0.4",
                                          "--mail-give-up", "600",
                                          // The burst comes from one address.
                                          "--estimate-limit", "1000000"});
  }

  // Posts as the program does; the time the reply arrived, or -1 when it was not 发送成功.
  static std::int64_t post(const std::string& address, const std::string& email, const std::string& phone,
                           const std::string& result) {
    httplib::Client client(address);
    client.set_connection_timeout(5);
    client.set_read_timeout(20);
    const auto res = client.Post("/site/send", "email=" + email + "&result=" + formEncoded(result) + "&tel=" + phone,
                                 "application/x-www-form-urlencoded");
    return res && res->body == "发送成功" ? nowMs() : -1;
  }

  std::string outbox() const {
    const auto run = runCommand(kServer, {"outbox", "--data", data()});
    static const std::regex times("(报价时间|下次尝试)：[0-9: -]+");
    return std::regex_replace(run.output, times, "$1：T");
  }

  std::size_t refusals() const {
    std::ifstream log(mail() / "refused.log");
    return static_cast<std::size_t>(std::count(std::istreambuf_iterator<char>(log), {}, '\n'));
  }
};

TEST_F(MailFaultTest, MailGetsThroughOutagesRefusalsCrashesAndBursts) {
  const std::string text = estimatorText();

  // The SMTP server is down when the estimate arrives and comes back a while later.
  auto catcher = startCatcher(mail());
  ASSERT_NE(catcher->address(), "") << catcher->output();
  const int smtpPort = portOf(catcher->address());
  catcher->stop(SIGTERM);
  auto server = startServer(smtpPort);
  ASSERT_NE(server->address(), "") << server->output();
  ASSERT_GT(post(server->address(), "a1@x.cn", "13800138000", text), 0);
  // At least three tries: on a busy machine more may pass between two looks at the outbox.
  ASSERT_TRUE(waitUntil([&] {
    static const std::regex tries("已尝试：([3-9]|[1-9][0-9]+) 次");
    return std::regex_search(outbox(), tries);
  }));
  EXPECT_EQ(messagesIn(mail()), 0u);
  catcher = startCatcher(mail(), smtpPort, {"bad@x.cn"});
  ASSERT_NE(catcher->address(), "") << catcher->output();
  ASSERT_TRUE(waitUntil([&] { return messagesIn(mail()) == 2; }));

  // A refused recipient fails at once and is not tried again; staff can queue it again.
  ASSERT_GT(post(server->address(), "bad@x.cn", "13800138000", text), 0);
  ASSERT_TRUE(waitUntil([&] { return messagesIn(mail()) == 3 && outbox().find("发送失败") != std::string::npos; }));
  std::this_thread::sleep_for(std::chrono::seconds(1));  // ten retry intervals
  const std::string failed =
      "编号：3\n状态：发送失败\n类型：客户邮件\n收件人：bad@x.cn\n报价时间：T\n已尝试：1 次\n"
      "最后回复：550 5.1.1 <bad@x.cn>: mailbox unavailable\n";
  EXPECT_EQ(outbox(), failed);
  EXPECT_EQ(refusals(), 1u);
  const auto retried = runCommand(kServer, {"outbox", "--data", data(), "--retry", "3"});
  EXPECT_EQ(retried.output, "编号 3 的邮件已重新排队\n");
  ASSERT_TRUE(waitUntil([&] { return refusals() == 2 && outbox() == failed; }));
  const auto again = runCommand(kServer, {"outbox", "--data", data(), "--retry", "4"});
  EXPECT_EQ(again.code, 1);
  EXPECT_EQ(again.output, "decor-company-server: 发件箱中没有编号为 4 的发送失败的邮件\n");

  // The log names each failure with the SMTP server's reply, and the message by its number.
  ASSERT_TRUE(server->waitForOutput("不再重试"));
  EXPECT_TRUE(std::regex_search(server->output(),
                                std::regex("\ndecor-company-server: 警告：邮件 1 第 1 次发送未成功，稍后重试：Failed to "
                                           "connect to 127.0.0.1 port " + std::to_string(smtpPort) +
                                           " after [0-9]+ ms: Couldn't connect to server\n")))
      << server->output();
  EXPECT_NE(server->output().find("decor-company-server: 错误：邮件 3 发送失败，不再重试：550 5.1.1 <bad@x.cn>: "
                                  "mailbox unavailable\n"),
            std::string::npos)
      << server->output();

  // Killed between acceptance and delivery: delivered after the restart.
  catcher->stop(SIGTERM);
  ASSERT_GT(post(server->address(), "a3@x.cn", "13800138000", text), 0);
  EXPECT_EQ(server->stop(SIGKILL), 128 + SIGKILL);
  catcher = startCatcher(mail(), smtpPort);
  ASSERT_NE(catcher->address(), "") << catcher->output();
  server = startServer(smtpPort);
  ASSERT_NE(server->address(), "") << server->output();
  ASSERT_TRUE(waitUntil([&] { return messagesIn(mail()) == 5; }));

  // A burst of estimates from four clients at once.
  constexpr int kBurst = 100;
  std::mutex mutex;
  std::map<std::string, std::int64_t> acknowledged;  // customer address → time of 发送成功
  std::vector<std::thread> clients;
  for (int c = 0; c < 4; ++c) {
    clients.emplace_back([&, c] {
      for (int i = c; i < kBurst; i += 4) {
        const std::string address = "burst" + std::to_string(i) + "@x.cn";
        const std::int64_t at = post(server->address(), address, "139" + std::to_string(10000000 + i), text);
        std::lock_guard lock(mutex);
        acknowledged[address] = at;
      }
    });
  }
  for (auto& client : clients) client.join();
  ASSERT_TRUE(waitUntil([&] { return messagesIn(mail()) >= 5 + 2 * kBurst; }, std::chrono::minutes(3)));
  EXPECT_EQ(outbox(), failed);  // only the refused one is left

  // Every message once, except that the kill may have left one repeat of estimate 5's.
  const Arrivals arrivals = arrivalsIn(mail());
  std::map<std::string, int> expected{{"<quote-1.customer@decor.test>", 1}, {"<quote-1.sales@decor.test>", 1},
                                      {"<quote-2.sales@decor.test>", 1},    {"<quote-3.customer@decor.test>", 1},
                                      {"<quote-3.sales@decor.test>", 1}};
  EXPECT_EQ(arrivals.count.count("<quote-2.customer@decor.test>"), 0u);
  for (const char* id : {"<quote-3.customer@decor.test>", "<quote-3.sales@decor.test>"}) {
    const auto found = arrivals.count.find(id);
    ASSERT_NE(found, arrivals.count.end()) << id;
    EXPECT_LE(found->second, 2) << id;
    expected[id] = found->second;
  }
  for (int n = 4; n < 4 + kBurst; ++n) {
    expected["<quote-" + std::to_string(n) + ".customer@decor.test>"] = 1;
    expected["<quote-" + std::to_string(n) + ".sales@decor.test>"] = 1;
  }
  EXPECT_EQ(arrivals.count, expected);

  // The inbox tells staff what happened to each estimate, newest first.
  const auto inbox = runCommand(kServer, {"inbox", "--data", data()});
  std::vector<std::string> states;
  std::istringstream listing(inbox.output);
  for (std::string line; std::getline(listing, line);) {
    if (line.starts_with("投递：")) states.push_back(line);
  }
  std::vector<std::string> expectedStates(kBurst + 3, "投递：客户邮件已发送；销售邮件已发送");
  expectedStates[kBurst + 1] = "投递：客户邮件发送失败；销售邮件已发送";
  EXPECT_EQ(states, expectedStates);

  // Figures, not checks: from 发送成功 to the customer mail accepted by the SMTP server.
  std::vector<std::int64_t> delays;
  for (const auto& [address, ms] : arrivals.customerMs) {
    const auto sent = acknowledged.find(address);
    if (sent != acknowledged.end()) delays.push_back(ms - sent->second);
  }
  std::sort(delays.begin(), delays.end());
  ASSERT_EQ(delays.size(), static_cast<std::size_t>(kBurst));
  std::cout << "burst of " << kBurst << " estimates: 发送成功 to customer mail accepted, p50 " << delays[kBurst / 2]
            << " ms, p99 " << delays[kBurst * 99 / 100] << " ms, max " << delays.back() << " ms\n";
}

// The database's disk fills while estimates arrive and mail goes out (each file of the server
// limited in size, as a full disk refuses to grow one): the posts it cannot keep fail, the
// worker holds off and says why instead of sending again, and after a restart with room every
// kept estimate's mails go out, none more than twice.
TEST_F(MailFaultTest, AFullDiskSendsEachMailAtMostTwiceAndTheLogSaysWhy) {
  const std::string text = estimatorText();
  auto catcher = startCatcher(mail());
  ASSERT_NE(catcher->address(), "") << catcher->output();
  const int smtpPort = portOf(catcher->address());

  // Ignored, a signal stays ignored across exec: the write fails (EFBIG) and the server lives.
  const auto limited = folder_ / "full-disk-server";
  std::ofstream(limited) << "#!/bin/sh\ntrap '' XFSZ\nexec /usr/bin/prlimit --fsize=262144 '" << kServer.string()
                         << "' \"$@\"\n";
  std::filesystem::permissions(limited, std::filesystem::perms::owner_all);
  auto server = startServer(smtpPort, limited);
  ASSERT_NE(server->address(), "") << server->output();
  int kept = 0;
  for (int i = 0; i < 500; ++i) {
    if (post(server->address(), "full" + std::to_string(i) + "@x.cn", "13800138000", text) < 0) break;
    ++kept;
  }
  ASSERT_GT(kept, 0);
  ASSERT_LT(kept, 500);  // the disk filled
  // The worker meets the full disk: on a message it claims, or on the outcome of one it sent.
  ASSERT_TRUE(server->waitForOutput("无法写入数据库")) << server->output();
  EXPECT_TRUE(std::regex_search(server->output(),
                                std::regex("错误：(邮件 [0-9]+ 已交给邮件服务器，但发送结果)?无法写入数据库（"
                                           "(database or disk is full|disk I/O error)）.*；暂停发送 [0-9]+ 毫秒\n")))
      << server->output();
  EXPECT_EQ(server->stop(SIGTERM), 0);
  std::cout << kept << " estimates kept before the disk filled; the log:\n" << server->output();

  server = startServer(smtpPort);
  ASSERT_NE(server->address(), "") << server->output();
  ASSERT_TRUE(waitUntil([&] { return messagesIn(mail()) >= 2u * static_cast<std::size_t>(kept) &&
                                     outbox() == "发件箱中没有待发送或发送失败的邮件。\n"; }));
  const Arrivals arrivals = arrivalsIn(mail());
  for (int n = 1; n <= kept; ++n) {
    for (const char* kind : {".customer", ".sales"}) {
      const std::string id = "<quote-" + std::to_string(n) + kind + "@decor.test>";
      const auto found = arrivals.count.find(id);
      ASSERT_NE(found, arrivals.count.end()) << id;
      EXPECT_LE(found->second, 2) << id;
    }
  }
  EXPECT_EQ(arrivals.count.size(), 2u * static_cast<std::size_t>(kept));
}

}  // namespace
}  // namespace decor::server
