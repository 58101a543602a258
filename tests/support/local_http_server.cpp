#include "local_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

namespace decor::test {

namespace {

int boundListener(int& port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) throw std::runtime_error("socket");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ::close(fd);
    throw std::runtime_error("bind");
  }
  port = ntohs(address.sin_port);
  return fd;
}

bool readable(int fd, int milliseconds) {
  pollfd entry{fd, POLLIN, 0};
  return ::poll(&entry, 1, milliseconds) > 0;
}

// The Content-Length of a request head, 0 when it has none.
std::size_t contentLength(const std::string& head) {
  std::size_t at = 0;
  while ((at = head.find("\r\n", at)) != std::string::npos) {
    at += 2;
    static const std::string name = "content-length:";
    if (head.size() - at < name.size()) break;
    std::string candidate = head.substr(at, name.size());
    for (char& c : candidate) c = char(std::tolower(static_cast<unsigned char>(c)));
    if (candidate == name) return std::strtoul(head.c_str() + at + name.size(), nullptr, 10);
  }
  return 0;
}

}  // namespace

LocalHttpServer::LocalHttpServer(Handler handler) : handler_(std::move(handler)) { start(); }

LocalHttpServer::LocalHttpServer(Silent) : silent_(true) { start(); }

LocalHttpServer LocalHttpServer::silent() { return LocalHttpServer(Silent{}); }

void LocalHttpServer::start() {
  listener_ = boundListener(port_);
  ::listen(listener_, 64);
  thread_ = std::thread([this] { serve(); });
}

LocalHttpServer::~LocalHttpServer() {
  stopping_ = true;
  thread_.join();
  ::close(listener_);
  for (int fd : heldConnections_) ::close(fd);
}

std::string LocalHttpServer::address() const { return "http://127.0.0.1:" + std::to_string(port_); }

std::vector<std::string> LocalHttpServer::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void LocalHttpServer::serve() {
  while (!stopping_) {
    if (!readable(listener_, 20)) continue;
    const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) continue;
    ++connections_;
    if (silent_) {
      heldConnections_.push_back(connection);
      continue;
    }
    answer(connection);
    ::close(connection);
  }
}

void LocalHttpServer::answer(int connection) {
  std::string request;
  char buffer[4096];
  std::size_t headEnd = std::string::npos;
  std::size_t wanted = 0;
  // A client that stops sending for a second has said all it will say.
  while (!stopping_ && (headEnd == std::string::npos || request.size() < headEnd + 4 + wanted)) {
    if (!readable(connection, 1000)) break;
    const ssize_t got = ::recv(connection, buffer, sizeof buffer, 0);
    if (got <= 0) break;
    request.append(buffer, std::size_t(got));
    if (headEnd == std::string::npos && (headEnd = request.find("\r\n\r\n")) != std::string::npos) {
      wanted = contentLength(request.substr(0, headEnd + 2));
    }
  }
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(request);
  }
  const std::string reply = handler_(request);
  std::size_t sent = 0;
  while (sent < reply.size()) {
    const ssize_t put = ::send(connection, reply.data() + sent, reply.size() - sent, MSG_NOSIGNAL);
    if (put <= 0) break;
    sent += std::size_t(put);
  }
}

std::string okReply(const std::string& body, const std::string& extraHeaders) {
  return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" + extraHeaders +
         "Connection: close\r\n\r\n" + body;
}

int refusedPort() {
  int port = 0;
  ::close(boundListener(port));
  return port;
}

}  // namespace decor::test
