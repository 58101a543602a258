#pragma once
// The server's HTTP side: libmicrohttpd on epoll with a few threads, so that thousands of
// slow or idle connections cost memory and no threads. It enforces RequestLimits before
// a handler sees a request: connections per address, a deadline for the whole request,
// capped headers and body, and no compressed bodies. One request per connection.
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "server/http/abuse_limits.h"
#include "server/http/request_limits.h"

struct MHD_Daemon;

namespace decor::server {

struct HttpRequest {
  std::string method;
  std::string path;  // without the query
  std::map<std::string, std::string> query;
  std::string address;  // addressKey() of the client
  std::string body;
  std::map<std::string, std::string> headers;  // names in lower case; a repeated one keeps its first value

  std::string param(const std::string& name) const {
    const auto found = query.find(name);
    return found == query.end() ? std::string() : found->second;
  }
};

struct HttpReply {
  HttpReply() = default;
  HttpReply(int status, std::string contentType, std::string body,
            std::vector<std::pair<std::string, std::string>> headers = {})
      : status(status), contentType(std::move(contentType)), body(std::move(body)), headers(std::move(headers)) {}

  int status = 200;
  std::string contentType = "text/plain; charset=utf-8";  // none when empty
  std::string body;
  std::vector<std::pair<std::string, std::string>> headers;  // beside Content-Type
};

using HttpHandler = std::function<HttpReply(const HttpRequest&)>;

class HttpListener {
 public:
  // `refused` counts what the listener turns away; `tick` runs about once a second on the
  // listener's own thread while it serves.
  HttpListener(RequestLimits limits, HttpHandler handler, RefusalCounts& refused, std::function<void()> tick);
  ~HttpListener();
  HttpListener(const HttpListener&) = delete;
  HttpListener& operator=(const HttpListener&) = delete;

  // Binds and listens; connections queue from here on. The port bound (a free one for
  // port 0), or -1.
  int bind(const std::string& host, int port);
  // Answers requests until stop(). Blocks.
  void serve();
  // Any thread, also before serve() has started.
  void stop();

  struct Connection;  // one client connection, from accept to close

 private:
  friend struct ListenerCallbacks;
  void cutOffLateRequests();
  void releaseAddress(const std::string& address);

  RequestLimits limits_;
  HttpHandler handler_;
  RefusalCounts& refused_;
  std::function<void()> tick_;
  int listenFd_ = -1;
  bool ipv6_ = false;

  std::mutex mutex_;  // guards everything below
  std::condition_variable wake_;
  bool stopping_ = false;
  std::map<Connection*, std::unique_ptr<Connection>> connections_;
  std::map<std::string, unsigned> perAddress_;
  unsigned largeBodiesHeld_ = 0;
};

}  // namespace decor::server
