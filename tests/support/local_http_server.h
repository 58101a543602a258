#pragma once
// A raw-socket HTTP stand-in on 127.0.0.1 for tests: it records each request byte for byte
// (header order included, which a real server library hides) and answers it with whatever
// the test's handler returns, or, when silent, accepts and never answers.
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace decor::test {

class LocalHttpServer {
 public:
  // Gets the raw request (head and body) and returns the raw reply bytes; the connection is
  // closed after them.
  using Handler = std::function<std::string(const std::string& request)>;

  explicit LocalHttpServer(Handler handler);
  // Accepts connections, reads nothing and answers nothing until destroyed.
  static LocalHttpServer silent();
  ~LocalHttpServer();
  LocalHttpServer(LocalHttpServer&&) = delete;

  int port() const { return port_; }
  std::string address() const;  // "http://127.0.0.1:PORT"
  std::string url(const std::string& path) const { return address() + path; }

  std::vector<std::string> requests() const;
  std::size_t connectionCount() const { return connections_.load(); }

 private:
  struct Silent {};
  explicit LocalHttpServer(Silent);
  void start();
  void serve();
  void answer(int connection);

  Handler handler_;
  bool silent_ = false;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<std::size_t> connections_{0};
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::vector<int> heldConnections_;
  std::thread thread_;
};

// "HTTP/1.1 200 OK" with Content-Length and Connection: close around `body`.
std::string okReply(const std::string& body, const std::string& extraHeaders = {});

// A port on 127.0.0.1 where nothing listens: connecting is refused at once.
int refusedPort();

}  // namespace decor::test
