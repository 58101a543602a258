#include <gtest/gtest.h>
#include <httplib.h>

#include <fstream>
#include <set>
#include <thread>

#include "server/company_server.h"
#include "server/default_price_files.h"
#include "server_test_support.h"
#include "text/codepage.h"

namespace decor::server {
namespace {

// The server on a free port of its own, with a fresh database and price folder.
class CompanyServerTest : public TempFolderTest {
 protected:
  void SetUp() override {
    std::string error;
    store_ = QuoteStore::open(folder_ / "company.sqlite3", QuoteStore::Access::Serve, error);
    ASSERT_TRUE(store_) << error;
    ServerSettings settings;
    settings.port = 0;
    settings.pricesDir = folder_ / "prices";
    settings.now = [] { return std::string("2026-03-04 05:06:07"); };
    server_ = std::make_unique<CompanyServer>(*store_, std::move(settings));
    port_ = server_->bind();
    ASSERT_GT(port_, 0);
    serving_ = std::thread([this] { server_->serve(); });
  }
  void TearDown() override {
    if (server_) server_->stop();
    if (serving_.joinable()) serving_.join();
  }

  httplib::Client client() const {
    httplib::Client c("127.0.0.1", port_);
    c.set_connection_timeout(5);
    return c;
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

  std::unique_ptr<QuoteStore> store_;
  std::unique_ptr<CompanyServer> server_;
  std::thread serving_;
  int port_ = -1;
};

TEST_F(CompanyServerTest, ServesThePriceFolderAfreshAndDefaultsForAbsentFiles) {
  EXPECT_EQ(get("/bj/AppConfig.xml"), defaultEstimatePriceFile());
  EXPECT_EQ(get("/bj/Xiangxi.xml"), defaultItemPriceFile());

  writePriceFile("AppConfig.xml", "<appSettings><add key=\"帖砖费用\" value=\"40\" /></appSettings>");
  EXPECT_EQ(get("/bj/AppConfig.xml"), "<appSettings><add key=\"帖砖费用\" value=\"40\" /></appSettings>");
  writePriceFile("AppConfig.xml", "<appSettings><add key=\"帖砖费用\" value=\"41\" /></appSettings>");
  EXPECT_EQ(get("/bj/AppConfig.xml"), "<appSettings><add key=\"帖砖费用\" value=\"41\" /></appSettings>");
  EXPECT_EQ(get("/bj/Xiangxi.xml"), defaultItemPriceFile());
}

TEST_F(CompanyServerTest, CountsVisitsAndServesTheCountAsGbk) {
  EXPECT_EQ(get("/bjtj/love.txt"), "0");
  get("/bjtj/");
  get("/bjtj/");
  get("/bjtj/love.txt");  // reading the count is no visit
  EXPECT_EQ(get("/bjtj/love.txt"), utf8ToGbk("2"));
  EXPECT_EQ(store_->visitCount(), 2);
}

TEST_F(CompanyServerTest, StoresASentQuoteBeforeAnsweringSuccess) {
  const auto res = post("email=%E5%AE%A2%E6%88%B7@qq.com&result=%E6%80%BB%E4%BB%B7 100%25 %26 1+1%3Cbr %2F%3E%E5%AE%8C&tel=13800138000");
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 200);
  EXPECT_EQ(res->body, "发送成功");
  EXPECT_EQ(store_->quotesNewestFirst(),
            (std::vector<StoredQuote>{{"2026-03-04 05:06:07", "客户@qq.com", "13800138000", "总价 100% & 1+1\r\n完"}}));
}

TEST_F(CompanyServerTest, MalformedBodiesGetNoSuccessAndStoreNothing) {
  const std::string bodies[] = {"no equals sign", "email=a@b&result=%&tel=1", "email=a@b&result=%FF&tel=1",
                                std::string(1024 * 1024, '&'), "email=a@b&result=x", ""};
  for (const auto& body : bodies) {
    const auto res = post(body);
    if (res) {  // a body over the limit may also just be cut off
      EXPECT_GE(res->status, 400) << body.substr(0, 40);
      EXPECT_EQ(res->body.find("发送成功"), std::string::npos) << body.substr(0, 40);
    }
  }
  EXPECT_TRUE(store_->quotesNewestFirst().empty());
  // Still answering after all that.
  EXPECT_EQ(post("email=a@b&result=x&tel=1")->body, "发送成功");
}

TEST_F(CompanyServerTest, StoresEachOfManyConcurrentSendsExactlyOnce) {
  constexpr int kThreads = 8;
  constexpr int kPerThread = 25;
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
  auto quotes = store_->quotesNewestFirst();
  ASSERT_EQ(quotes.back().phone, "0");
  quotes.pop_back();
  for (const auto& quote : quotes) {
    EXPECT_EQ(quote.result, "报价" + quote.phone);
    EXPECT_EQ(quote.email, quote.phone + "@x");
    results.insert(quote.phone);
  }
  ASSERT_EQ(results.size(), std::size_t{kThreads * kPerThread});
  for (int t = 0; t < kThreads; ++t) {
    for (int i = 0; i < kPerThread; ++i) EXPECT_EQ(results.count(std::to_string(t) + "-" + std::to_string(i)), 1u);
  }
}

TEST_F(CompanyServerTest, StandsInForTheChatAndNumberLocationServices) {
  EXPECT_EQ(get("/"), "decor-company-server：装修公司服务器正在运行\n");
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
  auto store = QuoteStore::open(scratch / "db", QuoteStore::Access::Serve, error);
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
