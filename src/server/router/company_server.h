#pragma once
// The company's server on one port: price files, visit counter, estimate inbox, the chat
// service's picture and page, the number-location service, and the web edition.
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "server/clock/time_text.h"
#include "server/http/abuse_limits.h"
#include "server/http/client_address.h"
#include "server/http/http_listener.h"
#include "server/http/request_limits.h"
#include "server/intake/form_check.h"
#include "server/standins/number_locations.h"
#include "server/storage/estimate_store.h"
#include "server/web/web_edition.h"

namespace decor::server {

struct ServerSettings {
  std::string host = "127.0.0.1";
  int port = 8080;                  // 0 picks a free port
  std::filesystem::path pricesDir;  // read afresh on every request
  NumberLocations locations = NumberLocations::builtIn();
  std::function<std::string()> now = localTimeNow;  // the time an estimate is stamped with
  RequestLimits limits;
  // Whose X-Forwarded-For names the client (--trusted-proxy): the proxy in front, if any.
  TrustedProxies proxies;
  AbuseSettings abuse;
  // Where the counts of refused requests go, at most once per `logEvery`, and only when
  // something was refused.
  std::function<void(const std::string&)> log;
  std::chrono::seconds logEvery{60};
  // With mail on: how long a message may wait before it is given up. /healthz reports a
  // pending message older than that (the worker is stuck).
  std::optional<std::chrono::milliseconds> mailGiveUp;
  // Keeps an accepted estimate; empty: EstimateStore::addEstimate. The mail outbox hooks in here.
  std::function<bool(const StoredEstimate&)> keepEstimate;
  web::WebSettings web;
};

class CompanyServer {
 public:
  CompanyServer(EstimateStore& store, ServerSettings settings);
  ~CompanyServer();
  CompanyServer(const CompanyServer&) = delete;
  CompanyServer& operator=(const CompanyServer&) = delete;

  // Binds and listens; connections queue from here on. The port bound, or -1.
  int bind();
  // Answers requests until stop(). Blocks; run it on a thread of its own.
  void serve();
  // Any thread, also before serve() has started.
  void stop();
  // Logs the refusals not yet logged; after serve() has returned.
  void flushLog();

 private:
  HttpReply answer(const HttpRequest& request);
  HttpReply receiveEstimate(const HttpRequest& request);
  // `route` names the request in the log ("POST /site/send").
  HttpReply admitEstimate(const std::string& address, const EstimateForm& form, const std::string& route);
  HttpReply answerWeb(const HttpRequest& request) const;
  bool countVisit(const std::string& address);
  web::WebServices webServices();
  HttpReply health();
  // A 500 and its log line with SQLite's reason; `route` is the request's method and path.
  HttpReply failed(const std::string& route, const std::string& body);
  void logRefusals();

  EstimateStore& store_;
  ServerSettings settings_;
  RefusalCounts refused_;
  SlidingWindowLimit estimates_;
  SlidingWindowLimit visits_;
  Clock::time_point lastLog_ = Clock::now();
  web::WebEdition web_;
  HttpListener http_;
};

// The reply to kIdentityPath, by which the run script recognises a stand-in already running.
inline constexpr const char* kIdentityPath = "/identity";
inline constexpr const char* kIdentity = "decor-company-server：装修公司服务器正在运行\n";

}  // namespace decor::server
