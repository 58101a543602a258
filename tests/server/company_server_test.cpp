#include <gtest/gtest.h>
#include <httplib.h>

#include <fstream>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

#include "pricing/price_file_writer.h"
#include "server/mail/mail_outbox.h"
#include "server/router/company_server.h"
#include "server/storage/database.h"
#include "server_test_support.h"
#include "text/codepage.h"

namespace decor::server {
namespace {

// The server on a free port of its own, with a fresh database and price folder.
class CompanyServerTest : public InProcessServerTest {
 protected:
  std::pair<int, std::string> raw(const std::string& request, const std::string& source = "127.0.0.1") const {
    RawConnection connection(port_, source);
    if (!connection.connected()) return {-1, "(not connected)"};
    connection.send(request);
    return connection.reply();
  }
  static std::string formPost(const std::string& body, const std::string& headers = "") {
    return "POST /site/send HTTP/1.1\r\nHost: x\r\nContent-Type: application/x-www-form-urlencoded\r\n"
           "Content-Length: " + std::to_string(body.size()) + "\r\n" + headers + "\r\n" + body;
  }

  std::string get(const std::string& path) const {
    auto res = client().Get(path.c_str());
    return res ? res->body : "(no reply)";
  }
  httplib::Result post(const std::string& body) const {
    return client().Post("/site/send", body, "application/x-www-form-urlencoded");
  }
  void writePriceFile(const std::string& name, const std::string& text) {
    std::filesystem::create_directories(folder_ / "prices");
    std::ofstream(folder_ / "prices" / name, std::ios::binary) << text;
  }
};

TEST_F(CompanyServerTest, ServesThePriceFolderAfreshAndDefaultsForAbsentFiles) {
  EXPECT_EQ(get("/bj/AppConfig.xml"), estimatePriceFile(EstimatePrices::defaults()));
  EXPECT_EQ(get("/bj/Xiangxi.xml"), itemPriceFile(ItemPrices::defaults()));

  writePriceFile("AppConfig.xml", "<appSettings><add key=\"帖砖费用\" value=\"40\" /></appSettings>");
  EXPECT_EQ(get("/bj/AppConfig.xml"), "<appSettings><add key=\"帖砖费用\" value=\"40\" /></appSettings>");
  writePriceFile("AppConfig.xml", "<appSettings><add key=\"帖砖费用\" value=\"41\" /></appSettings>");
  EXPECT_EQ(get("/bj/AppConfig.xml"), "<appSettings><add key=\"帖砖费用\" value=\"41\" /></appSettings>");
  EXPECT_EQ(get("/bj/Xiangxi.xml"), itemPriceFile(ItemPrices::defaults()));
}

// One visit per address in the window, and only a GET of "/bjtj/" is one.
TEST_F(CompanyServerTest, CountsOneVisitPerAddressAndServesTheCountAsGbk) {
  struct Step {
    std::string method, path, source;
    std::string count;  // love.txt afterwards
  };
  const Step steps[] = {
      {"GET", "/bjtj/love.txt", "127.0.0.2", "0"},  // reading the count is no visit
      {"GET", "/bjtj/", "127.0.0.2", "1"},
      {"GET", "/bjtj/", "127.0.0.2", "1"},          // the same address again
      {"HEAD", "/bjtj/", "127.0.0.3", "1"},
      {"POST", "/bjtj/", "127.0.0.3", "1"},
      {"GET", "/bjtj/", "127.0.0.3", "2"},
      {"GET", "/bjtj/", "127.0.0.4", "3"},
  };
  for (const Step& step : steps) {
    raw(step.method + " " + step.path + " HTTP/1.1\r\nHost: x\r\nContent-Length: 0\r\n\r\n", step.source);
    EXPECT_EQ(get("/bjtj/love.txt"), utf8ToGbk(step.count)) << step.method << " from " << step.source;
  }
  EXPECT_EQ(store_->visitCount(), 3);
}

TEST_F(CompanyServerTest, StoresASentEstimateBeforeAnsweringSuccess) {
  const auto res = post("email=%E5%AE%A2%E6%88%B7@qq.com&result=%E6%80%BB%E4%BB%B7 100%25 %26 1%2B1%3Cbr %2F%3E%E5%AE%8C&tel=13800138000");
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 200);
  EXPECT_EQ(res->body, "发送成功");
  EXPECT_EQ(store_->estimatesNewestFirst(),
            (std::vector<StoredEstimate>{{"2026-03-04 05:06:07", "客户@qq.com", "13800138000", "总价 100% & 1+1\r\n完"}}));
}

TEST_F(CompanyServerTest, MalformedOrImplausibleFormsGetAFailureTextAndStoreNothing) {
  const std::pair<std::string, std::string> cases[] = {
      {"no equals sign", "发送失败：不是表单：字段缺少 \"=\""},
      {"email=a@b&result=%&tel=1", "发送失败：字段 result 含有无效的 % 转义"},
      {"email=a@b&result=%FF&tel=1", "发送失败：字段 result 不是有效的 UTF-8"},
      {"email=a@b&result=x", "发送失败：缺少字段 tel"},
      {"email=a b@c&result=x&tel=1", "发送失败：邮箱格式不正确"},
      {"email=a@c%0D%0ABcc:x@y&result=x&tel=1", "发送失败：邮箱格式不正确"},
      {"email=a@c&result=x&tel=1%3B2", "发送失败：手机号只能包含数字、空格、+ 和 -，最多 20 个字符"},
      {"", "发送失败：不是表单：字段缺少 \"=\""},
  };
  for (const auto& [body, reply] : cases) {
    EXPECT_EQ(raw(formPost(body)), (std::pair<int, std::string>{400, reply})) << body;
  }
  EXPECT_TRUE(store_->estimatesNewestFirst().empty());
  EXPECT_EQ(post("email=a@b&result=x&tel=1")->body, "发送成功");
}

// Whatever arrives, the server reads no more than its limits and answers with a status.
TEST_F(CompanyServerTest, HostileRequestsAreRefusedBeforeTheyCostMemory) {
  const std::string head = "POST /site/send HTTP/1.1\r\nHost: x\r\nContent-Type: application/x-www-form-urlencoded\r\n";
  auto chunked = [&head](const std::string& body) {
    std::string request = head + "Transfer-Encoding: chunked\r\n\r\n";
    for (std::size_t at = 0; at < body.size(); at += 4096) {
      const std::string piece = body.substr(at, 4096);
      char size[16];
      std::snprintf(size, sizeof size, "%zx\r\n", piece.size());
      request += size + piece + "\r\n";
    }
    return request + "0\r\n\r\n";
  };
  // A valid form of exactly `size` bytes, its result filled with "x".
  auto formOf = [](std::size_t size, const std::string& tel) {
    const std::string fields = "email=a@b.cn&tel=" + tel + "&result=";
    return fields + std::string(size - fields.size(), 'x');
  };
  const std::string tooLarge = "发送失败：请求超过 64 KiB";
  struct Case {
    std::string name, request;
    int status;
    std::optional<std::string> body;  // nothing: the library's own text, never a success
  };
  const Case cases[] = {
      {"brotli", formPost(std::string(419, '\x0b'), "Content-Encoding: br\r\n"), 415, "发送失败：不接受压缩的请求"},
      {"gzip", formPost("\x1f\x8b\x08", "Content-Encoding: gzip\r\n"), 415, "发送失败：不接受压缩的请求"},
      {"identity", formPost(formOf(100, "1"), "Content-Encoding: identity\r\n"), 200, "发送成功"},
      {"chunked", chunked(formOf(9000, "2")), 200, "发送成功"},
      {"chunked over the limit", chunked(formOf(kMaxFormBytes + 1, "3")), 413, tooLarge},
      {"declared 300 MiB", head + "Content-Length: 314572800\r\n\r\n", 413, tooLarge},
      {"8193 bytes", formPost(formOf(8193, "4")), 200, "发送成功"},
      {"65536 bytes", formPost(formOf(kMaxFormBytes, "5")), 200, "发送成功"},
      {"65537 bytes", formPost(formOf(kMaxFormBytes + 1, "6")), 413, tooLarge},
      {"one header of 100 KB", "GET / HTTP/1.1\r\nHost: x\r\nX-Big: " + std::string(100000, 'a') + "\r\n\r\n", 431,
       std::nullopt},
      {"5000 headers", [] {
         std::string request = "GET / HTTP/1.1\r\nHost: x\r\n";
         for (int i = 0; i < 5000; ++i) request += "X-" + std::to_string(i) + ": 1\r\n";
         return request + "\r\n";
       }(), 431, std::nullopt},
      {"unknown method", "BREW / HTTP/1.1\r\nHost: x\r\n\r\n", 405, "不支持的请求方法"},
      {"unknown path", "GET /etc/passwd HTTP/1.1\r\nHost: x\r\n\r\n", 404, "没有这个地址"},
  };
  for (const Case& c : cases) {
    const auto [status, body] = raw(c.request);
    EXPECT_EQ(status, c.status) << c.name;
    if (c.body) {
      EXPECT_EQ(body, *c.body) << c.name;
    } else {
      EXPECT_EQ(body.find("发送成功"), std::string::npos) << c.name;
    }
  }
  std::vector<std::string> stored;
  for (const auto& estimate : store_->estimatesNewestFirst()) stored.push_back(estimate.phone);
  EXPECT_EQ(stored, (std::vector<std::string>{"5", "4", "2", "1"}));
}

TEST_F(CompanyServerTest, StoresEachOfManyConcurrentSendsExactlyOnce) {
  constexpr int kThreads = 8;
  constexpr int kPerThread = 25;
  start([](ServerSettings& settings) { settings.abuse.estimatesPerWindow = kThreads * kPerThread + 1; });
  // The client library sets up its parsers on first use, unseen by ThreadSanitizer: let that
  // happen before the threads start.
  ASSERT_EQ(post("email=warm@x&result=up&tel=0")->body, "发送成功");
  std::vector<std::thread> senders;
  std::atomic<int> acknowledged{0};
  for (int t = 0; t < kThreads; ++t) {
    senders.emplace_back([&, t] {
      for (int i = 0; i < kPerThread; ++i) {
        const std::string tag = std::to_string(t) + "-" + std::to_string(i);
        const auto res = post("email=" + tag + "@x&result=%E6%8A%A5%E4%BB%B7" + tag + "&tel=" + tag);
        if (res && res->body == "发送成功") ++acknowledged;
      }
    });
  }
  for (auto& sender : senders) sender.join();
  EXPECT_EQ(acknowledged, kThreads * kPerThread);

  std::multiset<std::string> results;
  auto estimates = store_->estimatesNewestFirst();
  ASSERT_EQ(estimates.back().phone, "0");
  estimates.pop_back();
  for (const auto& estimate : estimates) {
    EXPECT_EQ(estimate.result, "报价" + estimate.phone);
    EXPECT_EQ(estimate.email, estimate.phone + "@x");
    results.insert(estimate.phone);
  }
  ASSERT_EQ(results.size(), std::size_t{kThreads * kPerThread});
  for (int t = 0; t < kThreads; ++t) {
    for (int i = 0; i < kPerThread; ++i) EXPECT_EQ(results.count(std::to_string(t) + "-" + std::to_string(i)), 1u);
  }
}

// Estimates per address per window; what is refused shows in the next log line.
TEST_F(CompanyServerTest, LimitsEstimatesPerAddressAndLogsWhatItRefused) {
  std::mutex logged;
  std::vector<std::string> lines;
  start([&](ServerSettings& settings) {
    settings.abuse.estimatesPerWindow = 2;
    settings.logEvery = std::chrono::seconds(0);
    settings.log = [&](const std::string& line) {
      std::lock_guard lock(logged);
      lines.push_back(line);
    };
  });
  const std::string estimate = formPost("email=a@b&result=x&tel=1");
  const std::pair<int, std::string> accepted{200, "发送成功"};
  const std::pair<int, std::string> refused{429, "发送失败：发送过于频繁，请稍后再试"};
  const std::pair<std::string, std::pair<int, std::string>> sends[] = {
      {"127.0.0.2", accepted}, {"127.0.0.2", accepted}, {"127.0.0.2", refused},
      {"127.0.0.3", accepted}, {"127.0.0.2", refused},
  };
  for (const auto& [source, reply] : sends) EXPECT_EQ(raw(estimate, source), reply) << source;
  // An implausible estimate is refused for what it is and uses up no allowance.
  EXPECT_EQ(raw(formPost("email=a@b&result=x&tel=x"), "127.0.0.3").first, 400);
  EXPECT_EQ(raw(estimate, "127.0.0.3"), accepted);
  EXPECT_EQ(store_->estimatesNewestFirst().size(), 4u);

  for (int wait = 0; wait < 100; ++wait) {
    {
      std::lock_guard lock(logged);
      if (!lines.empty()) break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  std::lock_guard lock(logged);
  EXPECT_EQ(lines, (std::vector<std::string>{"decor-company-server: 警告：拒绝的请求：字段不合理 1，报价过于频繁 2"}));
}

// Small rules of the request: a body declared twice with different lengths is refused (a proxy
// might read the other one); "+" in a form is a blank; an empty address counts as missing (the
// program never sends one).
TEST_F(CompanyServerTest, SmallRulesOfTheRequest) {
  const std::string form = "email=a@b.cn&result=a+b%2Bc&tel=+86+138";
  const std::string head = "POST /site/send HTTP/1.1\r\nHost: x\r\nContent-Type: application/x-www-form-urlencoded\r\n";
  const std::string length = "Content-Length: " + std::to_string(form.size()) + "\r\n";
  struct Case {
    std::string request;
    std::pair<int, std::string> reply;
    std::vector<StoredEstimate> stored;  // newest first, after this request
  };
  const StoredEstimate plus{"2026-03-04 05:06:07", "a@b.cn", " 86 138", "a b+c"};
  const Case cases[] = {
      {head + length + "Content-Length: " + std::to_string(form.size() - 1) + "\r\n\r\n" + form,
       {400, "发送失败：请求长度不一致"},
       {}},
      {head + length + length + "\r\n" + form, {200, "发送成功"}, {plus}},
      {formPost("email=&result=x&tel=1"), {400, "发送失败：缺少字段 email"}, {plus}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(raw(c.request), c.reply) << c.request;
    EXPECT_EQ(store_->estimatesNewestFirst(), c.stored) << c.request;
  }
}

// /healthz for the proxy's and the monitor's checks: 503 with the reason when an estimate
// could not be kept or mail is stuck past its give-up time.
TEST_F(CompanyServerTest, HealthTellsWhetherEstimatesCanBeKeptAndMailMoves) {
  start([](ServerSettings& settings) { settings.mailGiveUp = std::chrono::milliseconds(60000); });
  std::string error;
  auto saboteur = Database::open(folder_ / "company.sqlite3", false, error);
  ASSERT_TRUE(saboteur) << error;
  saboteur->setBusyTimeout(5000);
  const auto queued = [&](std::int64_t ageMs) {
    return store_->transaction([&](Database& db) {
      OutboxEntry entry;
      entry.kind = kSalesMail;
      entry.recipient = "sales@decor.test";
      entry.state = "pending";
      entry.queuedMs = entry.nextMs = nowMilliseconds() - ageMs;
      return queueMessage(db, entry);
    });
  };
  const std::string health = "GET /healthz HTTP/1.1\r\nHost: x\r\n\r\n";
  struct Case {
    std::function<bool()> before;
    std::pair<int, std::string> reply;
  };
  const Case cases[] = {
      {[] { return true; }, {200, "正常\n"}},
      {[&] { return queued(30000); }, {200, "正常\n"}},
      {[&] {
         return saboteur->execute("CREATE TRIGGER full_disk BEFORE UPDATE ON counters"
                                  " BEGIN SELECT RAISE(FAIL, 'database or disk is full'); END;");
       },
       {503, "数据库无法写入：database or disk is full\n"}},
      {[&] { return saboteur->execute("DROP TRIGGER full_disk;") && queued(120000); },
       {503, "最早的待发邮件等待已超过放弃时间（60 秒）\n"}},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(c.before());
    EXPECT_EQ(raw(health), c.reply);
  }
  // A check is no visit.
  EXPECT_EQ(store_->visitCount(), 0);
}

// Idle and slow connections: a few per address, each cut off at the deadline.
TEST_F(CompanyServerTest, CapsConnectionsPerAddressAndCutsOffLateRequests) {
  start([](ServerSettings& settings) {
    settings.limits.connectionsPerAddress = 2;
    settings.limits.deadline = std::chrono::milliseconds(1500);
  });
  const std::string partial = "GET /bjtj/love.txt HTTP/1.1\r\nHost: x\r\n";
  RawConnection first(port_, "127.0.0.2");
  RawConnection second(port_, "127.0.0.2");
  ASSERT_TRUE(first.send(partial) && second.send(partial));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // both accepted
  // A third from the same address is turned away; another address is served at once.
  EXPECT_EQ(raw(partial + "\r\n", "127.0.0.2"), (std::pair<int, std::string>{0, ""}));
  EXPECT_EQ(raw(partial + "\r\n", "127.0.0.3"), (std::pair<int, std::string>{200, "0"}));
  // The trickling two never finish in time: closed without a reply, which frees the address.
  first.send("X-Slow: 1\r\n");
  EXPECT_EQ(first.reply(), (std::pair<int, std::string>{0, ""}));
  EXPECT_EQ(second.reply(), (std::pair<int, std::string>{0, ""}));
  EXPECT_EQ(raw(partial + "\r\n", "127.0.0.2"), (std::pair<int, std::string>{200, "0"}));
}

// The bodies being read share one memory budget: beyond it a new body is refused at once
// (one with a declared length before a byte of it is read, one without once it outgrows what
// is left), and a finished request's share is free again.
TEST_F(CompanyServerTest, BodiesBeyondTheirMemoryBudgetAreRefusedAtOnce) {
  start([](ServerSettings& settings) { settings.limits.bodyBudget = 100 * 1024; });
  const std::string head =
      "POST /site/send HTTP/1.1\r\nHost: x\r\nContent-Type: application/x-www-form-urlencoded\r\n";
  const auto declaring = [&head](std::size_t bytes) {
    return head + "Expect: 100-continue\r\nContent-Length: " + std::to_string(bytes) + "\r\n\r\n";
  };
  const std::string goAhead = "HTTP/1.1 100 Continue\r\n\r\n";
  const std::pair<int, std::string> busy{503, "发送失败：服务器繁忙，请稍后再试"};
  const std::string form = "email=k@x.cn&tel=13800138000&result=";

  // The server asks for a body only once its room is taken from the budget.
  RawConnection holding(port_, "127.0.0.2");
  ASSERT_TRUE(holding.send(declaring(60000)));
  ASSERT_EQ(holding.receiveSome(), goAhead);
  EXPECT_EQ(raw(declaring(60000), "127.0.0.3"), busy);
  // A chunked body is refused when it outgrows what is left, after it was read.
  std::string chunk(8000, 'x');
  std::string chunked = head + "Transfer-Encoding: chunked\r\n\r\n";
  for (int i = 0; i < 7; ++i) chunked += "1f40\r\n" + chunk + "\r\n";
  EXPECT_EQ(raw(chunked + "0\r\n\r\n", "127.0.0.4"), busy);
  // What is left still takes a smaller body.
  EXPECT_EQ(raw(formPost(form + std::string(30000, '1')), "127.0.0.5").first, 200);

  ASSERT_TRUE(holding.send(form + std::string(60000 - form.size(), '2')));
  EXPECT_EQ(holding.reply().first, 200);
  RawConnection again(port_, "127.0.0.3");
  ASSERT_TRUE(again.send(declaring(60000)));
  EXPECT_EQ(again.receiveSome(), goAhead);
  ASSERT_TRUE(again.send(form + std::string(60000 - form.size(), '3')));
  EXPECT_EQ(again.reply().first, 200);
}

// Opens connections as `open` says until `seen` holds for one's reply (true) or `seconds`
// pass: the wait for the server to have counted, or let go of, what the test holds open,
// without guessing a time.
template <typename Open, typename Seen>
bool seenWithin(Open open, Seen seen, int seconds = 10) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (std::chrono::steady_clock::now() < until) {
    if (seen(open())) return true;
  }
  return false;
}

TEST_F(CompanyServerTest, AClientBelowTheConnectionCapIsNeverRefused) {
  constexpr unsigned kCap = 6;
  start([](ServerSettings& settings) {
    settings.limits.connectionsPerAddress = kCap;
    settings.limits.deadline = std::chrono::seconds(120);  // the held ones stay for the test
  });
  const std::string partial = "GET /bjtj/love.txt HTTP/1.1\r\nHost: x\r\n";
  std::vector<std::unique_ptr<RawConnection>> held;
  for (unsigned i = 0; i < kCap; ++i) {
    held.push_back(std::make_unique<RawConnection>(port_));
    ASSERT_TRUE(held.back()->send(partial));
  }
  // At the cap, one more is refused: once all are counted, a probe gets no reply. A probe
  // counted before a held one was may have had that one cut off: it is opened again.
  const auto probe = [&] {
    for (auto& connection : held) {
      if (!connection->closedByServer()) continue;
      connection = std::make_unique<RawConnection>(port_);
      connection->send(partial);
    }
    return get("/bjtj/love.txt");
  };
  ASSERT_TRUE(seenWithin(probe, [](const std::string& body) { return body == "(no reply)"; }));
  // One fewer: the last finishes its request, which lets it go with its reply.
  ASSERT_TRUE(held.back()->send("\r\n"));
  ASSERT_EQ(held.back()->reply(), (std::pair<int, std::string>{200, "0"}));
  held.pop_back();
  // With cap - 1 held, one connection after another, each closed as soon as its reply is
  // read: every one is answered.
  int unanswered = 0;
  for (int i = 0; i < 300; ++i) unanswered += get("/bjtj/love.txt") != "0";
  EXPECT_EQ(unanswered, 0);
}

TEST_F(CompanyServerTest, BehindATrustedProxyEachForwardedClientHasItsOwnConnectionCap) {
  start([](ServerSettings& settings) {
    settings.limits.connectionsPerAddress = 2;
    settings.limits.deadline = std::chrono::seconds(120);
    // One thread reads the requests in the order they came: the held two are counted before
    // the probes that follow them.
    settings.limits.threads = 1;
    settings.proxies = TrustedProxies({*parseAddressBlock("127.0.0.1")});
  });
  // The proxy forwards two customers' requests whose bodies are still on their way.
  const auto from = [](const std::string& client) {
    return "POST /site/send HTTP/1.1\r\nHost: x\r\nX-Forwarded-For: " + client +
           "\r\nContent-Type: application/x-www-form-urlencoded\r\nContent-Length: 35\r\n\r\n";
  };
  std::vector<std::unique_ptr<RawConnection>> held;
  for (int i = 0; i < 2; ++i) {
    held.push_back(std::make_unique<RawConnection>(port_));
    ASSERT_TRUE(held.back()->send(from("203.0.113.1") + "email="));
  }
  // A third request of the same customer is answered 429 (a reset would reach the customer
  // as the proxy's 502); the proxy's further connections for others are served.
  const std::pair<int, std::string> busy{429, "发送失败：同时连接过多，请稍后再试"};
  const std::string whole = "email=a@b.cn&tel=3&result=x12345678";
  ASSERT_TRUE(seenWithin([&] { return raw(from("203.0.113.1") + whole); }, [&](const auto& reply) { return reply == busy; }));
  EXPECT_EQ(raw("GET /bjtj/love.txt HTTP/1.1\r\nHost: x\r\nX-Forwarded-For: 203.0.113.2\r\n\r\n"),
            (std::pair<int, std::string>{200, "0"}));
  EXPECT_EQ(raw("GET /bjtj/love.txt HTTP/1.1\r\nHost: x\r\n\r\n"), (std::pair<int, std::string>{200, "0"}));
  // The held two finish; the customer may connect again.
  for (auto& connection : held) {
    ASSERT_TRUE(connection->send("a@b.cn&tel=1&result=x12345678"));
    EXPECT_EQ(connection->reply().first, 200);
  }
  EXPECT_EQ(raw(from("203.0.113.1") + "email=a@b.cn&tel=2&result=x12345678").first, 200);
}

TEST_F(CompanyServerTest, StandsInForTheChatAndNumberLocationServices) {
  EXPECT_EQ(get("/identity"), "decor-company-server：装修公司服务器正在运行\n");
  const std::string picture = get("/pa?p=2:800012345:41");
  EXPECT_TRUE(picture.starts_with("\x89PNG\r\n\x1a\n")) << picture.substr(0, 8);
  EXPECT_EQ(picture.size(), 321u);
  EXPECT_NE(get("/msgrd?v=3&uin=800012345&site=qq&menu=yes").find("<title>在线咨询</title>"), std::string::npos);
  EXPECT_EQ(get("/Locating/locating.aspx?m=1390210&output=json&callback=querycallback"),
            R"(querycallback({"Mobile":"1390210","QueryResult":"True","Province":"上海","City":"上海"});)");
  EXPECT_EQ(get("/Locating/locating.aspx?m=1000000&output=json&callback=querycallback"),
            R"(querycallback({"Mobile":"1000000","QueryResult":"False"});)");
}

TEST(CompanyServerStop, EndsServingEvenWhenStoppedRightAway) {
  const test::ScratchFolder scratch{"decor-server"};
  std::string error;
  auto store = EstimateStore::open(scratch / "db", EstimateStore::Access::Serve, error);
  ASSERT_TRUE(store) << error;
  for (int round = 0; round < 20; ++round) {
    ServerSettings settings;
    settings.port = 0;
    CompanyServer server(*store, settings);
    ASSERT_GT(server.bind(), 0);
    std::thread serving([&server] { server.serve(); });
    server.stop();
    serving.join();  // hangs here if the stop was lost
  }
}

}  // namespace
}  // namespace decor::server
