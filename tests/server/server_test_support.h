#pragma once
// A fresh scratch folder for each server test, the company server in-process on a free port,
// and a raw HTTP client that can send what no well-behaved client library would, from any
// loopback address.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <httplib.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "scratch_folder.h"
#include "server/router/company_server.h"

namespace decor::server {

class TempFolderTest : public ::testing::Test {
 protected:
  test::ScratchFolder scratch_{"decor-server"};
  const std::filesystem::path& folder_ = scratch_.path();
};

// The company server serving on its own thread with a fresh database, the price folder in the
// scratch folder (absent until a test writes a file) and a fixed clock; restartable with a
// test's own settings.
class InProcessServerTest : public TempFolderTest {
 protected:
  void SetUp() override {
    std::string error;
    store_ = EstimateStore::open(folder_ / "company.sqlite3", EstimateStore::Access::Serve, error);
    ASSERT_TRUE(store_) << error;
    start([](ServerSettings&) {});
  }
  void TearDown() override { stopServer(); }

  // What every start of this suite sets, before a test's own adjustments.
  virtual void configure(ServerSettings&) {}

  // (Re)starts the server with the suite's settings, then `adjust`'s.
  void start(const std::function<void(ServerSettings&)>& adjust) {
    stopServer();
    ServerSettings settings;
    settings.port = 0;
    settings.pricesDir = folder_ / "prices";
    settings.now = [now = now_] { return now; };
    configure(settings);
    adjust(settings);
    server_ = std::make_unique<CompanyServer>(*store_, std::move(settings));
    port_ = server_->bind();
    ASSERT_GT(port_, 0);
    serving_ = std::thread([this] { server_->serve(); });
  }
  void stopServer() {
    if (server_) server_->stop();
    if (serving_.joinable()) serving_.join();
    server_.reset();
  }

  httplib::Client client() const {
    httplib::Client c("127.0.0.1", port_);
    c.set_connection_timeout(5);
    c.set_read_timeout(10);
    return c;
  }

  std::string now_ = "2026-03-04 05:06:07";  // the server's clock, read at start
  std::unique_ptr<EstimateStore> store_;
  std::unique_ptr<CompanyServer> server_;
  std::thread serving_;
  int port_ = -1;
};

// A TCP connection to 127.0.0.1:port from `source` (another 127.x.y.z address works on
// Linux without setup), with a receive time-out so that no test can hang on it.
class RawConnection {
 public:
  RawConnection(int port, const std::string& source = "127.0.0.1", int timeoutSeconds = 10)
      : fd_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    timeval timeout{timeoutSeconds, 0};
    ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    ::setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    sockaddr_in from{};
    from.sin_family = AF_INET;
    ::inet_pton(AF_INET, source.c_str(), &from.sin_addr);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<std::uint16_t>(port));
    ::inet_pton(AF_INET, "127.0.0.1", &to.sin_addr);
    connected_ = ::bind(fd_, reinterpret_cast<sockaddr*>(&from), sizeof from) == 0 &&
                 ::connect(fd_, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0;
  }
  ~RawConnection() { ::close(fd_); }
  RawConnection(const RawConnection&) = delete;
  RawConnection& operator=(const RawConnection&) = delete;

  bool connected() const { return connected_; }
  // Whether the server has closed it (or sent something) by now, without waiting.
  bool closedByServer() const {
    pollfd entry{fd_, POLLIN, 0};
    return ::poll(&entry, 1, 0) == 1;
  }
  // False once the server has stopped reading (it answered early or hung up).
  bool send(const std::string& bytes) {
    for (std::size_t sent = 0; sent < bytes.size();) {
      const ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
      if (n <= 0) return false;
      sent += static_cast<std::size_t>(n);
    }
    return true;
  }
  // What has arrived so far, at least one read's worth ("" when the server closed).
  std::string receiveSome() {
    char buffer[4096];
    const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
  }
  // Every byte until the server closes (or the time-out).
  std::string receive() {
    std::string all;
    char buffer[65536];
    ssize_t n = 0;
    while ((n = ::recv(fd_, buffer, sizeof buffer, 0)) > 0) all.append(buffer, static_cast<std::size_t>(n));
    return all;
  }
  // Everything until the server closes (or the time-out): the status line's code and the
  // body, or 0 and "" when it closed without a reply.
  std::pair<int, std::string> reply() {
    const std::string all = receive();
    if (!all.starts_with("HTTP/1.1 ") || all.size() < 12) return {0, ""};
    const std::size_t body = all.find("\r\n\r\n");
    return {std::stoi(all.substr(9, 3)), body == std::string::npos ? "" : all.substr(body + 4)};
  }

 private:
  int fd_;
  bool connected_ = false;
};

}  // namespace decor::server
