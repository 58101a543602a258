#include "server/company_server.h"

#include <httplib.h>

#include <fstream>
#include <iterator>
#include <thread>

#include "pricing/price_files.h"
#include "server/chat_service.h"
#include "server/default_price_files.h"
#include "server/quote_form.h"
#include "text/codepage.h"

namespace decor::server {
namespace {

constexpr const char* kTextType = "text/plain; charset=utf-8";

void answerPriceFile(const std::filesystem::path& file, std::string (*defaults)(), httplib::Response& res) {
  std::error_code error;
  if (!std::filesystem::exists(file, error)) {
    res.set_content(defaults(), "application/xml; charset=utf-8");
    return;
  }
  std::ifstream in(file, std::ios::binary);
  std::string bytes(std::istreambuf_iterator<char>(in), {});
  if (!in && !in.eof()) {
    res.status = 500;
    res.set_content("价格文件无法读取", kTextType);
    return;
  }
  res.set_content(bytes, "application/xml; charset=utf-8");
}

}  // namespace

CompanyServer::CompanyServer(QuoteStore& store, ServerSettings settings)
    : store_(store), settings_(std::move(settings)), http_(std::make_unique<httplib::Server>()) {
  // One request per connection: stop() then never waits for an idle keep-alive client.
  http_->set_keep_alive_max_count(1);
  // A larger body is refused (413) before it is read into memory.
  http_->set_payload_max_length(kMaxFormBytes);
  addRoutes();
}

CompanyServer::~CompanyServer() = default;

int CompanyServer::bind() {
  if (settings_.port == 0) return http_->bind_to_any_port(settings_.host);
  return http_->bind_to_port(settings_.host, settings_.port) ? settings_.port : -1;
}

void CompanyServer::serve() {
  serving_ = true;
  if (!stopping_) http_->listen_after_bind();
  serving_ = false;
}

void CompanyServer::stop() {
  if (stopping_.exchange(true)) return;
  while (serving_ && !http_->is_running()) std::this_thread::yield();
  http_->stop();
}

void CompanyServer::addRoutes() {
  // Tells scripts (and a curious browser) whose port this is.
  http_->Get("/", [](const httplib::Request&, httplib::Response& res) {
    res.set_content(kIdentity, kTextType);
  });
  http_->Get("/bj/AppConfig.xml", [this](const httplib::Request&, httplib::Response& res) {
    answerPriceFile(settings_.pricesDir / std::string(kEstimatePriceFileName), defaultEstimatePriceFile, res);
  });
  http_->Get("/bj/Xiangxi.xml", [this](const httplib::Request&, httplib::Response& res) {
    answerPriceFile(settings_.pricesDir / std::string(kItemPriceFileName), defaultItemPriceFile, res);
  });

  http_->Get("/bjtj/", [this](const httplib::Request&, httplib::Response& res) {
    if (store_.countVisit() < 0) res.status = 500;
    res.set_content("", kTextType);
  });
  http_->Get("/bjtj/love.txt", [this](const httplib::Request&, httplib::Response& res) {
    const std::int64_t count = store_.visitCount();
    if (count < 0) {
      res.status = 500;
      return;
    }
    res.set_content(utf8ToGbk(std::to_string(count)), "text/plain; charset=gbk");
  });

  http_->Post("/site/send", [this](const httplib::Request& req, httplib::Response& res) {
    const FormParse parsed = parseQuoteForm(req.body);
    if (!parsed.form) {
      res.status = 400;
      res.set_content("发送失败：" + parsed.error, kTextType);
      return;
    }
    const StoredQuote quote{settings_.now(), parsed.form->email, parsed.form->phone, parsed.form->result};
    if (!(settings_.keepQuote ? settings_.keepQuote(quote) : store_.addQuote(quote))) {
      res.status = 500;
      res.set_content("发送失败：服务器无法保存报价", kTextType);
      return;
    }
    res.set_content(kAcceptedReply, kTextType);
  });

  http_->Get("/pa", [](const httplib::Request&, httplib::Response& res) {
    const std::string_view picture = chatStatusPicture();
    res.set_content(picture.data(), picture.size(), "image/png");
  });
  http_->Get("/msgrd", [](const httplib::Request&, httplib::Response& res) {
    res.set_content(std::string(chatPage()), "text/html; charset=utf-8");
  });
  http_->Get(R"(/Locating/.*)", [this](const httplib::Request& req, httplib::Response& res) {
    res.set_content(settings_.locations.reply(req.get_param_value("m"), req.get_param_value("callback")),
                    "application/javascript; charset=utf-8");
  });

  http_->set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
    res.status = 500;
    res.set_content("服务器内部错误", kTextType);
  });
}

}  // namespace decor::server
