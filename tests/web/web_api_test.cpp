// The web edition through the real server in-process: estimates compared with core's text,
// requests that must be refused, sending into the inbox, and the page's files and headers.
#include <gtest/gtest.h>
#include <httplib.h>

#include <fstream>
#include <optional>
#include <thread>

#include "estimate/quick_estimate.h"
#include "json/json.h"
#include "pricing/price_file_writer.h"
#include "pricing/price_files.h"
#include "server/intake/estimate_intake.h"
#include "server/router/company_server.h"
#include "server_test_support.h"

namespace decor::server {
namespace {

const std::string kDefaultFlat =
    R"({"bedrooms":3,"halls":1,"kitchens":1,"bathrooms":1,"balconies":2,"area":"100","grade":"舒适型装修")";

class WebApiTest : public InProcessServerTest {
 protected:
  void SetUp() override {
    now_ = "2026-12-09 10:00:00";
    InProcessServerTest::SetUp();
  }
  void configure(ServerSettings& settings) override {
    // The intake the serve command uses, without mail: it merges a double send. Made before
    // the server's threads start, since they read it.
    if (!intake_) intake_ = std::make_unique<EstimateIntake>(*store_, std::nullopt, NumberLocations::builtIn());
    settings.keepEstimate = [this](const StoredEstimate& estimate) { return intake_->accept(estimate); };
  }

  httplib::Result post(const std::string& path, const std::string& body, const httplib::Headers& headers = {},
                       const std::string& type = "application/json") const {
    return client().Post(path.c_str(), headers, body, type.c_str());
  }
  static json::Value bodyOf(const httplib::Result& result) {
    return result ? json::parse(result->body).value.value_or(json::Value()) : json::Value();
  }
  static std::string textOf(const json::Value& value, const std::string& name) {
    const json::Value* member = value.find(name);
    return member && member->asString() ? *member->asString() : "(no " + name + ")";
  }

  std::unique_ptr<EstimateIntake> intake_;
};

std::string coreText(const QuickEstimateInput& input, const EstimatePrices& prices) {
  QuickEstimator estimator;
  estimator.run(input, prices);
  return resultWindowText(estimator.resultText());
}

TEST_F(WebApiTest, EstimatesAreCoresTextOnTheCurrentPriceFiles) {
  struct Case {
    std::string name;
    std::string body;
    QuickEstimateInput input;
    std::optional<std::string> priceFile;  // AppConfig.xml in the price folder
  };
  std::string dearerTiling = estimatePriceFile(EstimatePrices::defaults());
  const std::string key = "key=\"帖砖费用\" value=\"";
  dearerTiling.replace(dearerTiling.find(key) + key.size(), dearerTiling.find('"', dearerTiling.find(key) + key.size()) -
                                                                 (dearerTiling.find(key) + key.size()),
                       "77");
  const auto flat = [](int b, int h, int k, int w, int y, const std::string& area, const std::string& grade) {
    return QuickEstimateInput{b, h, k, w, y, area, grade};
  };
  const auto body = [](int b, int h, int k, int w, int y, const std::string& area, const std::string& grade) {
    return "{\"bedrooms\":" + std::to_string(b) + ",\"halls\":" + std::to_string(h) + ",\"kitchens\":" +
           std::to_string(k) + ",\"bathrooms\":" + std::to_string(w) + ",\"balconies\":" + std::to_string(y) +
           ",\"area\":" + area + ",\"grade\":\"" + grade + "\"}";
  };
  const Case cases[] = {
      {"the main window's defaults", kDefaultFlat + "}", {}, std::nullopt},
      {"rental", body(3, 1, 1, 1, 2, "\"100\"", "出租房装修"), flat(3, 1, 1, 1, 2, "100", "出租房装修"), std::nullopt},
      {"economy", body(2, 2, 1, 2, 1, "\"95.5\"", "经济型装修"), flat(2, 2, 1, 2, 1, "95.5", "经济型装修"), std::nullopt},
      {"fine, blanks in the grade", body(3, 1, 1, 1, 2, "\"100\"", "精  装  修"), flat(3, 1, 1, 1, 2, "100", "精  装  修"),
       std::nullopt},
      {"luxury without a hall", body(4, 0, 1, 2, 0, "\"88\"", "豪华型装修"), flat(4, 0, 1, 2, 0, "88", "豪华型装修"),
       std::nullopt},
      {"no kitchen, bathroom or balcony", body(1, 1, 0, 0, 0, "\"40\"", "舒适型装修"),
       flat(1, 1, 0, 0, 0, "40", "舒适型装修"), std::nullopt},
      {"no bedroom and no hall", body(0, 0, 1, 1, 1, "\"60\"", "经济型装修"), flat(0, 0, 1, 1, 1, "60", "经济型装修"),
       std::nullopt},
      {"nines", body(9, 9, 9, 9, 9, "\"5000\"", "豪华型装修"), flat(9, 9, 9, 9, 9, "5000", "豪华型装修"), std::nullopt},
      {"full-width digits", body(3, 1, 1, 1, 2, "\"１２０\"", "舒适型装修"), flat(3, 1, 1, 1, 2, "１２０", "舒适型装修"),
       std::nullopt},
      {"number followed by words", body(3, 1, 1, 1, 2, "\"85平方\"", "舒适型装修"),
       flat(3, 1, 1, 1, 2, "85平方", "舒适型装修"), std::nullopt},
      {"area as a JSON number", body(3, 1, 1, 1, 2, "88.5", "舒适型装修"), flat(3, 1, 1, 1, 2, "88.5", "舒适型装修"),
       std::nullopt},
      {"empty area reads 0", body(3, 1, 1, 1, 2, "\"\"", "舒适型装修"), flat(3, 1, 1, 1, 2, "", "舒适型装修"), std::nullopt},
      {"a million square metres", body(3, 1, 1, 1, 2, "\"1000000\"", "豪华型装修"),
       flat(3, 1, 1, 1, 2, "1000000", "豪华型装修"), std::nullopt},
      {"the staff's price file", kDefaultFlat + "}", {}, dearerTiling},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(folder_ / "prices");
    EstimatePrices prices = EstimatePrices::defaults();
    if (c.priceFile) {
      std::filesystem::create_directories(folder_ / "prices");
      std::ofstream(folder_ / "prices" / "AppConfig.xml", std::ios::binary) << *c.priceFile;
      prices = *parseEstimatePriceFile(*c.priceFile);
    }
    const auto result = post("/api/estimate", c.body);
    ASSERT_TRUE(result) << c.name;
    EXPECT_EQ(result->status, 200) << c.name << ": " << result->body;
    const json::Value answer = bodyOf(result);
    const std::string expected = coreText(c.input, prices);
    EXPECT_EQ(textOf(answer, "text"), expected) << c.name;
    EXPECT_EQ(expected.find("inf"), std::string::npos) << c.name;
    EXPECT_EQ(expected.find("nan"), std::string::npos) << c.name;
    // Each price names the line of the text that shows it.
    const json::Value* prices4 = answer.find("prices");
    ASSERT_TRUE(prices4 && prices4->asArray() && prices4->asArray()->size() == 4) << c.name;
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; at != std::string::npos; at = end == std::string::npos ? end : end + 2) {
      end = expected.find("\r\n", at);
      lines.push_back(expected.substr(at, end == std::string::npos ? end : end - at));
    }
    for (const json::Value& price : *prices4->asArray()) {
      const auto line = price.find("line")->asInteger().value_or(-1);
      ASSERT_TRUE(line >= 0 && static_cast<std::size_t>(line) < lines.size()) << c.name;
      EXPECT_TRUE(lines[static_cast<std::size_t>(line)].ends_with("的价格为：" + textOf(price, "amount") + "元"))
          << c.name << ": " << lines[static_cast<std::size_t>(line)];
    }
  }
}

TEST_F(WebApiTest, RefusesWhatItCannotTakeWithAMessageNamingIt) {
  struct Case {
    std::string name;
    std::string path;
    std::string body;
    int status;
    std::string message;  // a part of the reply's message
    httplib::Headers headers = {};
    std::string type = "application/json";
  };
  const std::string send = kDefaultFlat + R"(,"email":"a@b.cn","tel":"13800138000")";
  const auto without = [](std::string text, const std::string& part) { return text.replace(text.find(part), part.size(), ""); };
  const auto with = [](std::string text, const std::string& part, const std::string& instead) {
    return text.replace(text.find(part), part.size(), instead);
  };
  const Case cases[] = {
      {"not JSON", "/api/estimate", "{bedrooms:3}", 400, "请求不是有效的 JSON"},
      {"JSON cut short", "/api/estimate", kDefaultFlat, 400, "请求不是有效的 JSON"},
      {"an array", "/api/estimate", "[1]", 400, "请求应为 JSON 对象"},
      {"duplicate field", "/api/estimate", kDefaultFlat + R"(,"area":"90"})", 400, "重复"},
      {"missing count", "/api/estimate", without(kDefaultFlat, R"("halls":1,)") + "}", 400, "缺少厅（halls）"},
      {"count of 10", "/api/estimate", with(kDefaultFlat, "\"bedrooms\":3", "\"bedrooms\":10") + "}", 400,
       "室（bedrooms）应为 0 到 9 的整数"},
      {"negative count", "/api/estimate", with(kDefaultFlat, "\"balconies\":2", "\"balconies\":-1") + "}", 400,
       "阳台（balconies）"},
      {"count with a fraction", "/api/estimate", with(kDefaultFlat, "\"kitchens\":1", "\"kitchens\":1.0") + "}", 400,
       "厨（kitchens）"},
      {"count as text", "/api/estimate", with(kDefaultFlat, "\"bathrooms\":1", "\"bathrooms\":\"1\"") + "}", 400,
       "卫（bathrooms）"},
      {"missing area", "/api/estimate", without(kDefaultFlat, R"("area":"100",)") + "}", 400, "缺少实际面积（area）"},
      {"negative area", "/api/estimate", with(kDefaultFlat, "\"100\"", "\"-1\"") + "}", 400,
       "实际面积（area）应为 0 到 1000000 平方米"},
      {"area beyond a million", "/api/estimate", with(kDefaultFlat, "\"100\"", "\"1000001\"") + "}", 400,
       "实际面积（area）"},
      {"area in exponent form beyond", "/api/estimate", with(kDefaultFlat, "\"100\"", "1e300") + "}", 400,
       "实际面积（area）"},
      {"area of the wrong type", "/api/estimate", with(kDefaultFlat, "\"100\"", "true") + "}", 400,
       "实际面积（area）应为字符串或数字"},
      {"unknown grade", "/api/estimate", with(kDefaultFlat, "舒适型装修", "精装修") + "}", 400, "装修类型（grade）应为"},
      {"form content type", "/api/estimate", kDefaultFlat + "}", 415, "application/json", {},
       "application/x-www-form-urlencoded"},
      {"text content type", "/api/estimate", kDefaultFlat + "}", 415, "application/json", {}, "text/plain"},
      {"foreign origin", "/api/estimate", kDefaultFlat + "}", 403, "其他网站", {{"Origin", "http://evil.example"}}},
      {"sandboxed origin", "/api/send", send + "}", 403, "其他网站", {{"Origin", "null"}}},
      {"same host, other port", "/api/send", send + "}", 403, "其他网站", {{"Origin", "http://127.0.0.1:1"}}},
      {"foreign referer", "/api/send", send + "}", 403, "其他网站", {{"Referer", "https://evil.example/page"}}},
      {"unknown call", "/api/quote", "{}", 404, "没有这个接口"},
      {"body over the limit", "/api/estimate", kDefaultFlat + ",\"x\":\"" + std::string(70 * 1024, 'a') + "\"}", 413, ""},
      {"address without @", "/api/send", with(send, "a@b.cn", "ab.cn") + "}", 400, "亲，您输入的邮箱在这个地球上不存在！"},
      {"no address", "/api/send", with(send, "a@b.cn", "") + "}", 400, "请输入邮箱！"},
      {"no address and no number", "/api/send", with(with(send, "a@b.cn", ""), "13800138000", "") + "}", 400,
       "请输入邮箱！"},
      {"no number", "/api/send", with(send, "13800138000", "") + "}", 400, "请输入邮箱手机号！"},
      {"number with letters", "/api/send", with(send, "13800138000", "1380013800x") + "}", 400, "手机（tel）"},
      {"number of 12 digits", "/api/send", with(send, "13800138000", "138001380001") + "}", 400, "手机（tel）"},
      {"no tel field", "/api/send", without(send, R"(,"tel":"13800138000")") + "}", 400, "缺少手机（tel）"},
      {"address the intake refuses", "/api/send", with(send, "a@b.cn", "a b@c") + "}", 400, "发送失败：邮箱格式不正确"},
      {"send with a bad estimate", "/api/send", with(send, "\"100\"", "\"-5\"") + "}", 400, "实际面积（area）"},
  };
  for (const Case& c : cases) {
    const auto result = post(c.path, c.body, c.headers, c.type);
    ASSERT_TRUE(result) << c.name;
    EXPECT_EQ(result->status, c.status) << c.name << ": " << result->body;
    if (c.status == 413) continue;  // the listener's own reply, before the API sees the body
    EXPECT_EQ(result->get_header_value("Content-Type"), "application/json; charset=utf-8") << c.name;
    EXPECT_NE(textOf(bodyOf(result), "message").find(c.message), std::string::npos) << c.name << ": " << result->body;
  }
  // Nothing refused was kept.
  EXPECT_TRUE(store_->estimatesNewestFirst().empty());

  // A GET of a call that only takes POST, and the number lookup's refusals.
  const auto get = client().Get("/api/estimate");
  ASSERT_TRUE(get);
  EXPECT_EQ(get->status, 405);
  EXPECT_EQ(get->get_header_value("Allow"), "POST");
  const auto shortBlock = client().Get("/api/number?m=138001");
  ASSERT_TRUE(shortBlock);
  EXPECT_EQ(shortBlock->status, 400);
  const auto unknown = client().Get("/api/number?m=1999999");
  ASSERT_TRUE(unknown);
  EXPECT_EQ(unknown->status, 404);
  EXPECT_EQ(textOf(bodyOf(unknown), "message"), "亲，您输入的是外星号码！");
  const auto known = client().Get("/api/number?m=1390210");
  ASSERT_TRUE(known);
  EXPECT_EQ(textOf(bodyOf(known), "province"), "上海");
}

TEST_F(WebApiTest, SendKeepsTheServersOwnTextOnceLikeAPostedForm) {
  const std::string send = kDefaultFlat + R"(,"email":"a@b.cn","tel":"13800138000"})";
  // The page's own origin passes, and a repeat within minutes is acknowledged but kept once.
  const httplib::Headers sameSite{{"Origin", "http://127.0.0.1:" + std::to_string(port_)}};
  for (int i = 0; i < 2; ++i) {
    const auto result = post("/api/send", send, sameSite);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 200) << result->body;
    EXPECT_EQ(textOf(bodyOf(result), "message"), "发送成功！");
  }
  const auto kept = store_->estimatesNewestFirst();
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0], (StoredEstimate{"2026-12-09 10:00:00", "a@b.cn", "13800138000", coreText({}, EstimatePrices::defaults())}));

  // The same limit per address as the form.
  start([](ServerSettings& settings) { settings.abuse.estimatesPerWindow = 1; });
  EXPECT_EQ(post("/api/send", send)->status, 200);
  const auto limited = post("/api/send", kDefaultFlat + R"(,"email":"c@d.cn","tel":"1"})");
  ASSERT_TRUE(limited);
  EXPECT_EQ(limited->status, 429);
  EXPECT_EQ(textOf(bodyOf(limited), "message"), "发送失败：发送过于频繁，请稍后再试");
}

TEST_F(WebApiTest, ServesThePageWithItsHeadersAndLetsACompanyReplaceFiles) {
  const auto page = client().Get("/");
  ASSERT_TRUE(page);
  EXPECT_EQ(page->status, 200);
  EXPECT_EQ(page->get_header_value("Content-Type"), "text/html; charset=utf-8");
  EXPECT_NE(page->body.find("<label for=\"bedrooms\">室</label>"), std::string::npos);
  const std::string csp = page->get_header_value("Content-Security-Policy");
  EXPECT_NE(csp.find("script-src 'self'"), std::string::npos);
  EXPECT_EQ(csp.find("unsafe"), std::string::npos);
  EXPECT_NE(csp.find("frame-ancestors 'none'"), std::string::npos);
  EXPECT_EQ(page->get_header_value("X-Content-Type-Options"), "nosniff");
  EXPECT_FALSE(page->get_header_value("Referrer-Policy").empty());

  // A returning browser gets no body while the file is unchanged.
  const std::string tag = page->get_header_value("ETag");
  ASSERT_FALSE(tag.empty());
  const auto again = client().Get("/", {{"If-None-Match", tag}});
  ASSERT_TRUE(again);
  EXPECT_EQ(again->status, 304);
  EXPECT_TRUE(again->body.empty());
  for (const char* path : {"/web/estimate.js", "/web/api.js", "/web/site.css", "/web/icon.svg"}) {
    const auto file = client().Get(path);
    ASSERT_TRUE(file) << path;
    EXPECT_EQ(file->status, 200) << path;
    EXPECT_FALSE(file->get_header_value("ETag").empty()) << path;
  }
  for (const char* path : {"/web/", "/web/../company.sqlite3", "/web/.hidden.css", "/web/nothing.js"}) {
    const auto file = client().Get(path);
    ASSERT_TRUE(file) << path;
    EXPECT_EQ(file->status, 404) << path;
  }

  // A company's own style sheet replaces the built-in one; the rest stays built in.
  std::filesystem::create_directories(folder_ / "site");
  std::ofstream(folder_ / "site" / "site.css") << "body { color: green; }";
  start([this](ServerSettings& settings) {
    settings.web.siteDir = folder_ / "site";
    settings.web.frameAncestors = {"https://www.example.com"};
    settings.web.apiOrigins = {"https://shop.example.com"};
  });
  EXPECT_EQ(client().Get("/web/site.css")->body, "body { color: green; }");
  EXPECT_EQ(client().Get("/")->body, page->body);
  EXPECT_NE(client().Get("/")->get_header_value("Content-Security-Policy").find(
                "frame-ancestors 'self' https://www.example.com"),
            std::string::npos);
  // The listed site may call the API from its pages; it is told so.
  const auto cross = post("/api/estimate", kDefaultFlat + "}", {{"Origin", "https://shop.example.com"}});
  ASSERT_TRUE(cross);
  EXPECT_EQ(cross->status, 200);
  EXPECT_EQ(cross->get_header_value("Access-Control-Allow-Origin"), "https://shop.example.com");
}

}  // namespace
}  // namespace decor::server
