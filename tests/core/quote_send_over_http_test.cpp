// The quote send against a real local server: the bytes it receives, the form it parses and
// the replies the send reads.
#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "local_http_server.h"
#include "net/quote_send.h"

namespace decor {
namespace {

using namespace std::chrono_literals;

constexpr HttpLimits kShortLimits{.connect = 300ms, .send = 300ms, .receive = 300ms};

struct ReceivedForm {
  std::string body;
  std::string contentType;
  std::string email;  // the fields as the server decodes them
  std::string result;
  std::string tel;
  std::size_t telFields = 0;

  bool operator==(const ReceivedForm&) const = default;
};

void PrintTo(const ReceivedForm& form, std::ostream* out) {
  *out << "{body=" << form.body << ", type=" << form.contentType << ", email=" << form.email
       << ", result=" << form.result << ", tel=" << form.tel << " x" << form.telFields << "}";
}

// The quote-sending server: records each form posted to /site/send and answers with a fixed
// status and body.
class QuoteServer {
 public:
  explicit QuoteServer(std::string reply, int status = 200) : reply_(std::move(reply)), status_(status) {
    server_.Post("/site/send", [this](const httplib::Request& request, httplib::Response& response) {
      {
        const std::lock_guard lock(mutex_);
        received_.push_back(ReceivedForm{
            .body = request.body,
            .contentType = request.get_header_value("Content-Type"),
            .email = request.get_param_value("email"),
            .result = request.get_param_value("result"),
            .tel = request.get_param_value("tel"),
            .telFields = request.get_param_value_count("tel"),
        });
      }
      response.status = status_;
      response.set_content(reply_, "text/html; charset=utf-8");
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
  }
  ~QuoteServer() {
    server_.stop();
    thread_.join();
  }

  Endpoints endpoints() const { return Endpoints::allAt("http://127.0.0.1:" + std::to_string(port_)); }
  std::vector<ReceivedForm> received() const {
    const std::lock_guard lock(mutex_);
    return received_;
  }

 private:
  httplib::Server server_;
  std::string reply_;
  int status_;
  int port_ = 0;
  std::thread thread_;
  mutable std::mutex mutex_;
  std::vector<ReceivedForm> received_;
};

const std::string kFormType = "application/x-www-form-urlencoded";

TEST(QuoteSendOverHttp, TheServerReceivesTheExactBodyAndParsesEveryFieldIntact) {
  struct Case {
    std::string email;
    std::string text;
    std::string phone;
    ReceivedForm expected;
  };
  const std::vector<Case> cases = {
      {"a@b.cn", "价格：19887.7元 半包\r\n第二行 a-b", "13800571234",
       {.body = "email=a%40b%2Ecn&result=%E4%BB%B7%E6%A0%BC%EF%BC%9A19887%2E7%E5%85%83 %E5%8D%8A%E5%8C%85"
                "%3Cbr %2F%3E%E7%AC%AC%E4%BA%8C%E8%A1%8C a%2Db&tel=13800571234",
        .contentType = kFormType,
        .email = "a@b.cn",
        .result = "价格：19887.7元 半包<br />第二行 a-b",
        .tel = "13800571234",
        .telFields = 1}},
      {"x@y", "一\n二", "1",
       {.body = "email=x%40y&result=%E4%B8%80%0A%E4%BA%8C&tel=1",
        .contentType = kFormType,
        .email = "x@y",
        .result = "一\n二",
        .tel = "1",
        .telFields = 1}},
      // Raw, these addresses would split the form or forge its phone field.
      {"a&tel=1@x.cn", "r", "139",
       {.body = "email=a%26tel%3D1%40x%2Ecn&result=r&tel=139",
        .contentType = kFormType,
        .email = "a&tel=1@x.cn",
        .result = "r",
        .tel = "139",
        .telFields = 1}},
      {"客户=%20+@邮箱", "100% & more", "2",
       {.body = "email=%E5%AE%A2%E6%88%B7%3D%2520%2B%40%E9%82%AE%E7%AE%B1&result=100%25 %26 more&tel=2",
        .contentType = kFormType,
        .email = "客户=%20+@邮箱",
        .result = "100% & more",
        .tel = "2",
        .telFields = 1}},
  };
  for (const Case& c : cases) {
    QuoteServer server("发送成功");
    EXPECT_EQ(sendQuoteForm(httpFormPoster(kShortLimits), server.endpoints(), c.email, c.text, c.phone), "发送成功！");
    EXPECT_EQ(server.received(), std::vector<ReceivedForm>{c.expected}) << c.email;
  }
}

TEST(QuoteSendOverHttp, OnlyARepliedMarkCountsAsSuccess) {
  struct Case {
    std::string reply;
    int status;
    std::string_view outcome;
  };
  const std::vector<Case> cases = {
      {"发送成功", 200, "发送成功！"},
      {"<p>您的报价已发送成功，请查收邮件。</p>", 200, "发送成功！"},
      {"%E5%8F%91%E9%80%81%E6%88%90%E5%8A%9F", 200, "发送成功！"},
      {"", 200, "发送失败！"},
      {"<html><body><h1>500 Internal Server Error</h1></body></html>", 500, "发送失败！"},
      {"发送失败", 200, "发送失败！"},
  };
  for (const Case& c : cases) {
    QuoteServer server(c.reply, c.status);
    EXPECT_EQ(sendQuoteForm(httpFormPoster(kShortLimits), server.endpoints(), "a@b", "t", "1"), c.outcome) << c.reply;
    EXPECT_EQ(server.received().size(), 1u) << c.reply;
  }
}

TEST(QuoteSendOverHttp, AServerThatCannotBeReachedOrNeverAnswersIsAFailure) {
  const Endpoints refused = Endpoints::allAt("http://127.0.0.1:" + std::to_string(test::refusedPort()));
  EXPECT_EQ(sendQuoteForm(httpFormPoster(kShortLimits), refused, "a@b", "t", "1"), "发送失败！");

  test::LocalHttpServer silent = test::LocalHttpServer::silent();
  EXPECT_EQ(sendQuoteForm(httpFormPoster(kShortLimits), Endpoints::allAt(silent.address()), "a@b", "t", "1"),
            "发送失败！");
}

}  // namespace
}  // namespace decor
