#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <httplib.h>

#include "local_http_server.h"
#include "scratch_folder.h"
#include "shell_command.h"
#include "net/http_client.h"

namespace decor {
namespace {

using namespace std::chrono_literals;
using test::LocalHttpServer;
using test::okReply;

const std::string kUserAgentLine = "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n";
const std::string kAcceptLine =
    "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
    "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*\r\n";

constexpr HttpLimits kShortLimits{.connect = 300ms, .send = 300ms, .receive = 300ms};
constexpr FetchLimits kShortFetchLimits{.connect = 300ms, .stall = 300ms};
// Megabytes take a while under the thread sanitizer; the limits only catch a hang.
constexpr HttpLimits kBulkLimits{.connect = 3s, .send = 3s, .receive = 3s};
constexpr FetchLimits kBulkFetchLimits{.connect = 3s, .stall = 3s};

// A transfer that ends sooner ended by the limit it was given (or its cancellation), not by the
// program's own 18-second limits; a loaded machine under the sanitizers stays far below it.
constexpr auto kHangBound = FetchLimits{}.stall / 2;

double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

TEST(SplitUrl, TakesHostPortAndPathAsTheRequestUsesThem) {
  struct Case {
    std::string url;
    std::string host;
    int port;
    std::string path;
    bool tls = false;
  };
  const std::vector<Case> cases = {
      {"http://WWW.Decor-Example.COM/site/send", "www.decor-example.com", 80, "/site/send"},
      {"HTTP://Stats.Example:8080", "stats.example", 8080, "/"},
      {"host:81/a/b", "host", 81, "/a/b"},
      {"http://shop.example/q?a=/b&c=1", "shop.example", 80, "/q?a=/b&c=1"},
      {"Shop.Example", "shop.example", 80, "/"},
      {"http://shop.example:/x", "shop.example", 0, "/x"},
      {"http://shop.example:12ab/x", "shop.example", 12, "/x"},
      {"", "", 80, "/"},
      {"https://Prices.Example/bj/AppConfig.xml", "prices.example", 443, "/bj/AppConfig.xml", true},
      {"HTTPS://prices.example:8443", "prices.example", 8443, "/", true},
  };
  for (const Case& c : cases) {
    const UrlParts parts = splitUrl(c.url);
    EXPECT_EQ(parts.host, c.host) << c.url;
    EXPECT_EQ(parts.port, c.port) << c.url;
    EXPECT_EQ(parts.path, c.path) << c.url;
    EXPECT_EQ(parts.tls, c.tls) << c.url;
  }
}

TEST(HttpRequest, SendsExactlyTheRequestTheRulesMake) {
  struct Case {
    std::string name;
    std::string method;
    std::string headers;
    std::string body;
    std::string methodAfter;
    // Everything after Host and User-Agent; "{url}" stands for the URL.
    std::string expectedRest;
    std::string expectedRequestLine;
  };
  const std::string defaults = kAcceptLine + "Referer: {url}\r\nAccept-Language: zh-cn\r\n";
  const std::string largeBody(1200 * 1024, 'b');  // big enough for a client to ask "Expect: 100-continue"
  const std::vector<Case> cases = {
      {"a large body goes out whole and at once", "POST", "", largeBody, "POST",
       defaults + "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 1228800\r\n\r\n" + largeBody,
       "POST /site/send?x=1 HTTP/1.1"},
      {"post with a body", "POST", "", "email=a%40b.cn&tel=1",
       "POST",
       defaults + "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 20\r\n\r\nemail=a%40b.cn&tel=1",
       "POST /site/send?x=1 HTTP/1.1"},
      {"other methods become a bodiless GET", "put", "", "ignored=1", "GET", defaults + "\r\n",
       "GET /site/send?x=1 HTTP/1.1"},
      {"an empty post adds no content headers", "POST", "", "", "POST", defaults + "\r\n",
       "POST /site/send?x=1 HTTP/1.1"},
      {"the caller's spelling of post goes out", "pOsT", "", "a=1", "pOsT",
       defaults + "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 3\r\n\r\na=1",
       "pOsT /site/send?x=1 HTTP/1.1"},
      {"a caller's header in any case suppresses its default", "GET", "accept-language: en\r\nX-Note: 1\r\n", "",
       "GET", "accept-language: en\r\nX-Note: 1\r\n" + kAcceptLine + "Referer: {url}\r\n\r\n",
       "GET /site/send?x=1 HTTP/1.1"},
      {"caller's Accept and Referer stay alone", "POST", "ACCEPT: text/plain\r\nreferer: http://r/\r\n", "b=2",
       "POST",
       "ACCEPT: text/plain\r\nreferer: http://r/\r\nAccept-Language: zh-cn\r\n"
       "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 3\r\n\r\nb=2",
       "POST /site/send?x=1 HTTP/1.1"},
  };
  for (const Case& c : cases) {
    LocalHttpServer server([](const std::string&) { return okReply("ok"); });
    const std::string url = server.url("/site/send?x=1");
    std::string method = c.method;
    std::string headers = c.headers;
    EXPECT_EQ(httpRequest(url, method, {}, &headers, c.body, nullptr, kBulkLimits), "ok") << c.name;
    EXPECT_EQ(method, c.methodAfter) << c.name;

    std::string rest = c.expectedRest;
    if (const std::size_t at = rest.find("{url}"); at != std::string::npos) rest.replace(at, 5, url);
    const std::string expected = c.expectedRequestLine + "\r\nHost: 127.0.0.1:" + std::to_string(server.port()) +
                                 "\r\n" + kUserAgentLine + rest;
    ASSERT_EQ(server.requests().size(), 1u) << c.name;
    EXPECT_EQ(server.requests()[0], expected) << c.name;
    // The completed headers come back, without the blank line and the body.
    EXPECT_EQ(headers + "\r\n" + (method == "GET" ? "" : c.body), rest) << c.name;
  }
}

TEST(HttpRequest, ThroughAProxyTheProxySeesTheAbsoluteUrl) {
  LocalHttpServer proxy([](const std::string&) { return okReply("via proxy"); });
  std::string method = "GET";
  const std::string url = "http://Config.Decor.Test/bj/AppConfig.xml?v=2";
  EXPECT_EQ(httpRequest(url, method, "127.0.0.1:" + std::to_string(proxy.port()), nullptr, {}, nullptr, kShortLimits),
            "via proxy");
  ASSERT_EQ(proxy.requests().size(), 1u);
  EXPECT_EQ(proxy.requests()[0], "GET http://config.decor.test/bj/AppConfig.xml?v=2 HTTP/1.1\r\n"
                                 "Host: config.decor.test\r\n" +
                                     kUserAgentLine + kAcceptLine + "Referer: " + url +
                                     "\r\nAccept-Language: zh-cn\r\n\r\n");
}

TEST(HttpRequest, RepliesAreCutAtTheFirstZeroByteAndHeadersHandedBackWhenTheyFit) {
  const std::string body = std::string("发送成功\0tail", 16);
  LocalHttpServer server([&](const std::string& request) {
    // A header block just over 1024 bytes for the second request.
    const bool big = request.find("/big") != std::string::npos;
    return okReply(body, big ? "X-Pad: " + std::string(1000, 'p') + "\r\n" : "X-Server: test\r\n");
  });
  std::string method = "POST";
  std::string responseHeaders = "stale";
  EXPECT_EQ(httpRequest(server.url("/small"), method, {}, nullptr, "a=1", &responseHeaders, kShortLimits), "发送成功");
  EXPECT_EQ(responseHeaders, "HTTP/1.1 200 OK\r\nContent-Length: 16\r\nX-Server: test\r\nConnection: close\r\n\r\n");

  responseHeaders = "stale";
  EXPECT_EQ(httpRequest(server.url("/big"), method, {}, nullptr, "a=1", &responseHeaders, kShortLimits), "发送成功");
  EXPECT_EQ(responseHeaders, "");

  // The status is never examined.
  LocalHttpServer failing([](const std::string&) {
    return std::string("HTTP/1.1 500 Oops\r\nContent-Length: 5\r\nConnection: close\r\n\r\nerror");
  });
  EXPECT_EQ(httpRequest(failing.url("/"), method, {}, nullptr, "a=1", nullptr, kShortLimits), "error");
}

TEST(HttpRequest, AnUnreachableOrSilentServerGivesAnEmptyReplyWithinItsLimits) {
  std::string method = "POST";
  std::string responseHeaders = "stale";
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(httpRequest("http://127.0.0.1:" + std::to_string(test::refusedPort()) + "/site/send", method, {}, nullptr,
                        "a=1", &responseHeaders, kShortLimits),
            "");
  EXPECT_EQ(responseHeaders, "stale");  // nothing arrived, nothing handed back
  EXPECT_LT(secondsSince(start), std::chrono::duration<double>(kHangBound).count());

  LocalHttpServer silent = LocalHttpServer::silent();
  for (const std::string body : {"", "a=1"}) {
    start = std::chrono::steady_clock::now();
    EXPECT_EQ(httpRequest(silent.url("/site/send"), method, {}, nullptr, body, nullptr, kShortLimits), "");
    const double took = secondsSince(start);
    EXPECT_GE(took, 0.25);  // the receive limit, not an early give-up
    EXPECT_LT(took, std::chrono::duration<double>(kHangBound).count());
  }
  EXPECT_EQ(silent.connectionCount(), 2u);

  std::string getMethod = "GET";
  EXPECT_EQ(httpRequest("", getMethod, {}, nullptr, {}, nullptr, kShortLimits), "");
  EXPECT_EQ(httpRequest("http://127.0.0.1:99999999/x", getMethod, {}, nullptr, {}, nullptr, kShortLimits), "");
}

TEST(HttpRequest, AReplyOverTheSizeLimitIsCutAtIt) {
  const std::string huge(kMaxReplyBytes + 4096, 'x');
  LocalHttpServer server([&](const std::string&) { return okReply(huge); });
  std::string method = "GET";
  const std::string reply = httpRequest(server.url("/"), method, {}, nullptr, {}, nullptr, kBulkLimits);
  EXPECT_EQ(reply.size(), kMaxReplyBytes);
  EXPECT_TRUE(reply == huge.substr(0, kMaxReplyBytes));  // no 8 MiB dump on failure
}

TEST(FetchUrl, SendsAPlainGetAndKeepsEveryByteOfTheBody) {
  const std::string picture = std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
  LocalHttpServer server([&](const std::string&) { return okReply(picture); });
  const FetchedBody fetched = fetchUrlBody(server.url("/pa?p=2:123:41"), kShortFetchLimits);
  EXPECT_EQ(fetched.bytes, picture);
  EXPECT_TRUE(fetched.complete);
  EXPECT_EQ(fetchUrl(server.url("/pa?p=2:123:41")), picture);
  ASSERT_EQ(server.requests().size(), 2u);
  EXPECT_EQ(server.requests()[0], "GET /pa?p=2:123:41 HTTP/1.0\r\nHost: 127.0.0.1:" + std::to_string(server.port()) +
                                      "\r\n" + kUserAgentLine + "Accept: */*\r\n\r\n");
}

TEST(FetchUrl, ReportsWhetherTheBodyArrivedWhole) {
  struct Case {
    std::string name;
    std::string reply;
    std::string bytes;
    bool complete;
  };
  const std::vector<Case> cases = {
      {"an error page is a body like any other", "HTTP/1.1 404 Not Found\r\nContent-Length: 4\r\n\r\nnope", "nope",
       true},
      {"a transfer broken off keeps what arrived",
       "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n<appSettings><add key=", "<appSettings><add key=", false},
      {"no length: the body ends with the connection", "HTTP/1.0 200 OK\r\n\r\nall of it", "all of it", true},
      {"garbage instead of a reply", "\x01\x02 not http", "", false},
  };
  for (const Case& c : cases) {
    LocalHttpServer server([&](const std::string&) { return c.reply; });
    const FetchedBody fetched = fetchUrlBody(server.url("/bj/AppConfig.xml"), kShortFetchLimits);
    EXPECT_EQ(fetched.bytes, c.bytes) << c.name;
    EXPECT_EQ(fetched.complete, c.complete) << c.name;
  }
}

TEST(FetchUrl, AnOversizedBodyIsCutAndNotComplete) {
  const std::string huge(kMaxReplyBytes + 1, 'y');
  LocalHttpServer server([&](const std::string&) { return okReply(huge); });
  const FetchedBody fetched = fetchUrlBody(server.url("/"), kBulkFetchLimits);
  EXPECT_EQ(fetched.bytes.size(), kMaxReplyBytes);
  EXPECT_FALSE(fetched.complete);

  const std::string exact(kMaxReplyBytes, 'z');
  LocalHttpServer exactServer([&](const std::string&) { return okReply(exact); });
  const FetchedBody whole = fetchUrlBody(exactServer.url("/"), kBulkFetchLimits);
  EXPECT_EQ(whole.bytes.size(), kMaxReplyBytes);
  EXPECT_TRUE(whole.complete);
}

TEST(FetchUrl, AnUnreachableOrSilentServerGivesNothingWithinItsLimits) {
  auto start = std::chrono::steady_clock::now();
  const FetchedBody refused =
      fetchUrlBody("http://127.0.0.1:" + std::to_string(test::refusedPort()) + "/", kShortFetchLimits);
  EXPECT_EQ(refused.bytes, "");
  EXPECT_FALSE(refused.complete);
  EXPECT_LT(secondsSince(start), std::chrono::duration<double>(kHangBound).count());

  LocalHttpServer silent = LocalHttpServer::silent();
  start = std::chrono::steady_clock::now();
  const FetchedBody stalled = fetchUrlBody(silent.url("/bjtj/love.txt"), kShortFetchLimits);
  const double took = secondsSince(start);
  EXPECT_EQ(stalled.bytes, "");
  EXPECT_FALSE(stalled.complete);
  EXPECT_GE(took, 0.25);
  EXPECT_LT(took, std::chrono::duration<double>(kHangBound).count());

  for (const std::string url : {"", "file:///etc/hostname", "ftp://127.0.0.1/", "http://[::1"}) {
    EXPECT_EQ(fetchUrlBody(url, kShortFetchLimits).bytes, "") << url;
  }
}

// With the program's own 18-second limits, only the cancellation can end these in time.
TEST(HttpCancel, TransfersUnderWayEndSoonAfterTheFlagIsSetAndLaterOnesAtOnce) {
  LocalHttpServer silent = LocalHttpServer::silent();
  CancelFlag cancel;
  std::string method = "POST";
  FetchedBody fetched{"stale", true};
  std::string posted = "stale";
  std::thread fetching([&] { fetched = fetchUrlBody(silent.url("/bjtj/love.txt"), FetchLimits{}, &cancel); });
  std::thread posting(
      [&] { posted = httpRequest(silent.url("/site/send"), method, {}, nullptr, "a=1", nullptr, {}, &cancel); });
  while (silent.connectionCount() < 2) std::this_thread::sleep_for(10ms);
  const auto start = std::chrono::steady_clock::now();
  cancel.cancel();
  fetching.join();
  posting.join();
  EXPECT_LT(secondsSince(start), std::chrono::duration<double>(kHangBound).count());
  EXPECT_EQ(fetched.bytes, "");
  EXPECT_FALSE(fetched.complete);
  EXPECT_EQ(posted, "");

  EXPECT_FALSE(fetchUrlBody(silent.url("/"), FetchLimits{}, &cancel).complete);
  EXPECT_EQ(httpRequest(silent.url("/"), method, {}, nullptr, {}, nullptr, {}, &cancel), "");
  EXPECT_EQ(silent.connectionCount(), 2u) << "a cancelled flag opens no connection";
}

// A company behind HTTPS: the price files and the estimate send go over TLS, and a
// certificate the program cannot check gets nothing through.
TEST(Https, FetchesAndPostsOverTlsToACertificateItTrustsOnly) {
  test::ScratchFolder folder("decor-tls");
  const std::string cert = (folder / "cert.pem").string(), key = (folder / "key.pem").string();
  ASSERT_EQ(test::runShell("openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=localhost "
                           "-addext subjectAltName=IP:127.0.0.1 -keyout '" + key + "' -out '" + cert + "' 2>&1")
                .exitCode,
            0);
  httplib::SSLServer server(cert.c_str(), key.c_str());
  ASSERT_TRUE(server.is_valid());
  server.Get("/bj/AppConfig.xml", [](const httplib::Request&, httplib::Response& res) {
    res.set_content("<prices/>", "text/xml");
  });
  server.Post("/site/send", [](const httplib::Request& req, httplib::Response& res) {
    res.set_content(req.body == "email=a%40b.cn" ? "发送成功" : "?", "text/plain");
  });
  const int port = server.bind_to_any_port("127.0.0.1");
  // Bound and listening already: connections queue until the thread takes them.
  std::thread serving([&server] { server.listen_after_bind(); });
  const std::string base = "https://127.0.0.1:" + std::to_string(port);

  struct Case {
    const char* caFile;
    std::string fetched, posted;
  };
  const Case cases[] = {
      {cert.c_str(), "<prices/>", "发送成功"},
      {nullptr, "", ""},  // the system's list does not hold the test's certificate
  };
  for (const Case& c : cases) {
    const FetchedBody body = fetchUrlBody(base + "/bj/AppConfig.xml", {.connect = 3s, .stall = 3s, .caFile = c.caFile});
    EXPECT_EQ(body.bytes, c.fetched) << (c.caFile ? "trusted" : "untrusted");
    EXPECT_EQ(body.complete, !c.fetched.empty());
    std::string method = "POST";
    EXPECT_EQ(httpRequest(base + "/site/send", method, {}, nullptr, "email=a%40b.cn", nullptr,
                          {.connect = 3s, .send = 3s, .receive = 3s, .caFile = c.caFile}),
              c.posted);
  }
  server.stop();
  serving.join();
}

}  // namespace
}  // namespace decor
