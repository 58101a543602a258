#include "server/router/company_server.h"

#include <fstream>
#include <iterator>

#include "deployment/endpoints.h"
#include "pricing/price_file_writer.h"
#include "pricing/price_files.h"
#include "contact/contact_rules.h"
#include "contact/estimate_form.h"
#include "server/log/log_line.h"
#include "server/mail/mail_outbox.h"
#include "server/standins/chat_service.h"
#include "server/web/quotation_api.h"
#include "server/intake/form_check.h"
#include "text/codepage.h"

namespace decor::server {
namespace {

constexpr const char* kTextType = "text/plain; charset=utf-8";

// A body the listener lets through is one the form reader reads, and the two 64 KiB in the
// replies ("请求超过", "表单超过") are the same limit.
static_assert(kMaxBodyBytes == kMaxFormBytes);

// The built-in prices as files, for a price folder that lacks one; written once.
struct PriceFiles {
  std::string estimate;
  std::string items;
};
const PriceFiles& builtInPriceFiles() {
  static const PriceFiles files{estimatePriceFile(EstimatePrices::defaults()), itemPriceFile(ItemPrices::defaults())};
  return files;
}

// The price file as handed out: the staff's file, or the defaults while there is none.
std::optional<std::string> readPriceFile(const std::filesystem::path& file, const std::string& defaults) {
  std::error_code error;
  if (!std::filesystem::exists(file, error)) return defaults;
  std::ifstream in(file, std::ios::binary);
  std::string bytes(std::istreambuf_iterator<char>(in), {});
  if (!in && !in.eof()) return std::nullopt;
  return bytes;
}

HttpReply answerPriceFile(const std::filesystem::path& file, const std::string& defaults) {
  auto bytes = readPriceFile(file, defaults);
  if (!bytes) return {500, kTextType, "价格文件无法读取"};
  return {200, "application/xml; charset=utf-8", std::move(*bytes)};
}

// The quotation calls take a whole room list, and an opened quotation its rows, in one body.
RequestLimits withQuotationBodies(RequestLimits limits) {
  limits.largeBodyPath = std::string(web::kApiPrefix) + std::string(web::kQuotationCallPrefix);
  limits.largeBodyBytes = web::kMaxQuotationBodyBytes;
  return limits;
}

}  // namespace

CompanyServer::CompanyServer(EstimateStore& store, ServerSettings settings)
    : store_(store),
      settings_(std::move(settings)),
      estimates_(settings_.abuse.estimatesPerWindow, settings_.abuse.estimateWindow),
      visits_(1, settings_.abuse.visitWindow),
      web_(webServices(), settings_.web),
      http_(withQuotationBodies(settings_.limits), [this](const HttpRequest& request) { return answer(request); }, refused_,
            [this] { logRefusals(); }) {}

CompanyServer::~CompanyServer() = default;

int CompanyServer::bind() { return http_.bind(settings_.host, settings_.port); }

void CompanyServer::serve() { http_.serve(); }

void CompanyServer::stop() { http_.stop(); }

void CompanyServer::logRefusals() {
  const auto now = Clock::now();
  if (now - lastLog_ < settings_.logEvery) return;
  lastLog_ = now;
  flushLog();
}

void CompanyServer::flushLog() {
  const std::string counts = refused_.takeCounts();
  if (!counts.empty() && settings_.log) settings_.log(logLine(LogLevel::Warning, "拒绝的请求：" + counts));
}

HttpReply CompanyServer::failed(const std::string& route, const std::string& body) {
  if (settings_.log) {
    settings_.log(logLine(LogLevel::Error, route + " 回复 500：" + store_.lastError()));
  }
  return {500, kTextType, body};
}

// For the proxy's and the monitor's checks: can an estimate be kept, and is mail moving.
HttpReply CompanyServer::health() {
  if (!store_.probeWrite()) return {503, kTextType, "数据库无法写入：" + store_.lastError() + "\n"};
  if (settings_.mailGiveUp) {
    std::optional<std::int64_t> queued;
    if (!oldestPending(store_, queued)) return {503, kTextType, "发件箱无法读取：" + store_.lastError() + "\n"};
    const std::int64_t waited = queued ? nowMilliseconds() - *queued : 0;
    if (waited > settings_.mailGiveUp->count()) {
      return {503, kTextType,
              "最早的待发邮件等待已超过放弃时间（" + std::to_string(settings_.mailGiveUp->count() / 1000) + " 秒）\n"};
    }
  }
  return {200, kTextType, "正常\n"};
}

web::WebServices CompanyServer::webServices() {
  const Endpoints deployment = Endpoints::compiledIn();
  return {
      .priceFiles = [this]() -> std::optional<std::pair<std::string, std::string>> {
        auto estimatePrices = readPriceFile(settings_.pricesDir / std::string(kEstimatePriceFileName),
                                            builtInPriceFiles().estimate);
        auto itemPrices = readPriceFile(settings_.pricesDir / std::string(kItemPriceFileName), builtInPriceFiles().items);
        if (!estimatePrices || !itemPrices) return std::nullopt;
        return std::pair(std::move(*estimatePrices), std::move(*itemPrices));
      },
      .keepEstimate = [this](const web::WebServices::Estimate& estimate) -> web::WebServices::Kept {
        const HttpReply reply = admitEstimate(estimate.address, {estimate.email, estimate.phone, estimate.text}, "POST /api/send");
        if (reply.status == 200) return {};
        return {reply.status, reply.body};
      },
      .visit = [this](const std::string& address) -> std::optional<std::int64_t> {
        if (!countVisit(address)) return std::nullopt;
        const std::int64_t count = store_.visitCount();
        if (count < 0) return std::nullopt;
        return count;
      },
      .province = [this](std::string_view block) { return settings_.locations.provinceOf(block); },
      .hotline = deployment.hotline,
      .chatPageUrl = deployment.chatPageUrl(),
      .website = deployment.website,
      .companyName = deployment.companyName,
      // The date of the clock the server stamps estimates with ("2026-12-09 10:00:00").
      .today = [this] { return settings_.now().substr(0, 10); },
  };
}

HttpReply CompanyServer::answerWeb(const HttpRequest& request) const {
  web::WebReply reply = web_.answer(
      {request.method, request.path, request.query, request.headers, request.address, request.body});
  return {reply.status, std::move(reply.contentType), std::move(reply.body), std::move(reply.headers)};
}

bool CompanyServer::countVisit(const std::string& address) {
  if (!visits_.allow(address)) {
    refused_.add(Refusal::RepeatVisit);
    return true;
  }
  return store_.countVisit() >= 0;
}

HttpReply CompanyServer::answer(const HttpRequest& request) {
  const std::string& path = request.path;
  if (web::WebEdition::handles(path)) return answerWeb(request);
  if (request.method == "POST") {
    if (path == "/site/send") return receiveEstimate(request);
    return {404, kTextType, "没有这个地址"};
  }
  // HEAD is answered like GET (without the body), but only a GET is a visit.
  if (request.method != "GET" && request.method != "HEAD") return {405, kTextType, "不支持的请求方法"};
  // Tells scripts whose port this is.
  if (path == kIdentityPath) return {200, kTextType, kIdentity};
  if (path == "/healthz") return health();
  if (path == "/bj/AppConfig.xml") {
    return answerPriceFile(settings_.pricesDir / std::string(kEstimatePriceFileName), builtInPriceFiles().estimate);
  }
  if (path == "/bj/Xiangxi.xml") {
    return answerPriceFile(settings_.pricesDir / std::string(kItemPriceFileName), builtInPriceFiles().items);
  }
  if (path == "/bjtj/") {
    if (request.method != "GET") return {200, kTextType, ""};
    if (!countVisit(request.address)) return failed(request.method + " " + path, "");
    return {200, kTextType, ""};
  }
  if (path == "/bjtj/love.txt") {
    const std::int64_t count = store_.visitCount();
    if (count < 0) return failed(request.method + " " + path, "");
    return {200, "text/plain; charset=gbk", utf8ToGbk(std::to_string(count))};
  }
  if (path == "/pa") return {200, "image/png", std::string(chatStatusPicture())};
  if (path == "/msgrd") return {200, "text/html; charset=utf-8", std::string(chatPage())};
  if (path.starts_with("/Locating/")) {
    return {200, "application/javascript; charset=utf-8",
            settings_.locations.reply(request.param("m"), request.param("callback"))};
  }
  return {404, kTextType, "没有这个地址"};
}

HttpReply CompanyServer::receiveEstimate(const HttpRequest& request) {
  CheckedForm checked = checkForm(request.body);
  if (checked.fault != CheckedForm::Fault::None) {
    refused_.add(checked.fault == CheckedForm::Fault::Unreadable ? Refusal::Unreadable : Refusal::Implausible);
    return {400, kTextType, "发送失败：" + checked.why};
  }
  return admitEstimate(request.address, checked.form, request.method + " " + request.path);
}

// What a posted form and the web edition's send share: the checks, the limit and the intake.
// A posted form was checked on reading already; the web edition's fields come from JSON.
HttpReply CompanyServer::admitEstimate(const std::string& address, const EstimateForm& form, const std::string& route) {
  if (const std::string why = implausibleField(form); !why.empty()) {
    refused_.add(Refusal::Implausible);
    return {400, kTextType, "发送失败：" + why};
  }
  if (!estimates_.allow(address)) {
    refused_.add(Refusal::EstimateLimit);
    return {429, kTextType, "发送失败：发送过于频繁，请稍后再试"};
  }
  const StoredEstimate estimate{settings_.now(), form.email, form.phone, form.result};
  const bool kept = settings_.keepEstimate ? settings_.keepEstimate(estimate) : store_.addEstimate(estimate);
  if (!kept) return failed(route, "发送失败：服务器无法保存报价");
  return {200, kTextType, kAcceptedReply};
}

}  // namespace decor::server
