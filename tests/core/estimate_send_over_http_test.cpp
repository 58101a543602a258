// The estimate send against a real local server: the bytes it receives, the form it parses and
// the replies the send reads.
#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <mutex>
#include <string>
#include <tuple>
#include <thread>
#include <vector>

#include "local_http_server.h"
#include "net/estimate_send.h"

namespace decor {
namespace {

using namespace std::chrono_literals;

constexpr HttpLimits kShortLimits{.connect = 300ms, .send = 300ms, .receive = 300ms};

// The estimate server: records what each post to /site/send brings (the raw body, then
// the fields as the server parses them) and answers with a fixed status and body.
class EstimateServer {
 public:
  explicit EstimateServer(std::string reply, int status = 200) {
    server_.Post("/site/send", [this, reply, status](const httplib::Request& request, httplib::Response& response) {
      const std::lock_guard lock(mutex_);
      received_.push_back({request.body, request.get_header_value("Content-Type"), request.get_param_value("email"),
                           request.get_param_value("result"), request.get_param_value("tel"),
                           std::to_string(request.get_param_value_count("tel"))});
      response.status = status;
      response.set_content(reply, "text/html; charset=utf-8");
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
  }
  ~EstimateServer() {
    server_.stop();
    thread_.join();
  }

  Endpoints endpoints() const { return Endpoints::allAt("http://127.0.0.1:" + std::to_string(port_)); }
  std::vector<std::vector<std::string>> received() const {
    const std::lock_guard lock(mutex_);
    return received_;
  }

 private:
  httplib::Server server_;
  int port_ = 0;
  std::thread thread_;
  mutable std::mutex mutex_;
  std::vector<std::vector<std::string>> received_;
};

TEST(EstimateSendOverHttp, TheServerReceivesTheExactBodyAndParsesEveryFieldIntact) {
  const std::string form = "application/x-www-form-urlencoded";
  const std::vector<std::vector<std::string>> cases = {
      // address, result text, phone; then body, content type, email, result, tel, tel count
      {"a@b.cn", "价格：19887.7元 半包\r\n第二行 a-b", "13800571234",
       "email=a%40b%2Ecn&result=%E4%BB%B7%E6%A0%BC%EF%BC%9A19887%2E7%E5%85%83 %E5%8D%8A%E5%8C%85"
       "%3Cbr %2F%3E%E7%AC%AC%E4%BA%8C%E8%A1%8C a%2Db&tel=13800571234",
       form, "a@b.cn", "价格：19887.7元 半包<br />第二行 a-b", "13800571234", "1"},
      {"x@y", "一\n二", "1", "email=x%40y&result=%E4%B8%80%0A%E4%BA%8C&tel=1", form, "x@y", "一\n二", "1", "1"},
      // Raw, these addresses would split the form or forge its phone field.
      {"a&tel=1@x.cn", "r", "139", "email=a%26tel%3D1%40x%2Ecn&result=r&tel=139", form, "a&tel=1@x.cn", "r", "139", "1"},
      {"客户=%20+@邮箱", "100% & more", "2",
       "email=%E5%AE%A2%E6%88%B7%3D%2520%2B%40%E9%82%AE%E7%AE%B1&result=100%25 %26 more&tel=2", form,
       "客户=%20+@邮箱", "100% & more", "2", "1"},
  };
  for (const auto& c : cases) {
    EstimateServer server("发送成功");
    EXPECT_EQ(sendEstimateForm(httpFormPoster(kShortLimits), server.endpoints(), c[0], c[1], c[2]), "发送成功！");
    EXPECT_EQ(server.received(), (std::vector<std::vector<std::string>>{{c.begin() + 3, c.end()}})) << c[0];
  }
}

TEST(EstimateSendOverHttp, RepliesWithoutTheMarkAndUnreachableServersAreFailures) {
  const std::vector<std::tuple<std::string, int, std::string_view>> replies = {
      {"%E5%8F%91%E9%80%81%E6%88%90%E5%8A%9F", 200, "发送成功！"},
      {"<p>您的报价已发送成功</p>", 200, "发送成功！"},
      {"", 200, "发送失败！"},
      {"<html><body><h1>500 Internal Server Error</h1></body></html>", 500, "发送失败！"},
  };
  for (const auto& [reply, status, outcome] : replies) {
    EstimateServer server(reply, status);
    EXPECT_EQ(sendEstimateForm(httpFormPoster(kShortLimits), server.endpoints(), "a@b", "t", "1"), outcome) << reply;
    EXPECT_EQ(server.received().size(), 1u) << reply;
  }

  const Endpoints refused = Endpoints::allAt("http://127.0.0.1:" + std::to_string(test::refusedPort()));
  EXPECT_EQ(sendEstimateForm(httpFormPoster(kShortLimits), refused, "a@b", "t", "1"), "发送失败！");
  test::LocalHttpServer silent = test::LocalHttpServer::silent();
  EXPECT_EQ(sendEstimateForm(httpFormPoster(kShortLimits), Endpoints::allAt(silent.address()), "a@b", "t", "1"),
            "发送失败！");
}

}  // namespace
}  // namespace decor
