#pragma once
// The company's server on one port: price files, visit counter, quote inbox, the chat
// service's picture and page, and the number-location service.
#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "server/number_locations.h"
#include "server/quote_store.h"

namespace httplib {
class Server;
}

namespace decor::server {

struct ServerSettings {
  std::string host = "127.0.0.1";
  int port = 8080;                  // 0 picks a free port
  std::filesystem::path pricesDir;  // read afresh on every request
  NumberLocations locations = NumberLocations::builtIn();
  std::function<std::string()> now = localTimeNow;  // the time a quote is stamped with
  // Keeps an accepted quote; empty: QuoteStore::addQuote. The mail outbox hooks in here.
  std::function<bool(const StoredQuote&)> keepQuote;
};

class CompanyServer {
 public:
  CompanyServer(QuoteStore& store, ServerSettings settings);
  ~CompanyServer();
  CompanyServer(const CompanyServer&) = delete;
  CompanyServer& operator=(const CompanyServer&) = delete;

  // Binds and listens; connections queue from here on. The port bound, or -1.
  int bind();
  // Answers requests until stop(). Blocks; run it on a thread of its own.
  void serve();
  // Any thread, also before serve() has started.
  void stop();

 private:
  void addRoutes();

  QuoteStore& store_;
  ServerSettings settings_;
  std::unique_ptr<httplib::Server> http_;
  // The library's stop() does nothing until the listening loop runs: these close that gap.
  std::atomic<bool> serving_{false};
  std::atomic<bool> stopping_{false};
};

// The reply to "/", by which the run script recognises a stand-in already running.
inline constexpr const char* kIdentity = "decor-company-server：装修公司服务器正在运行\n";

// The reply body for a quote that was stored; a refused one never contains it.
inline constexpr const char* kAcceptedReply = "发送成功";

}  // namespace decor::server
