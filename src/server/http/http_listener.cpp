#include "server/http/http_listener.h"

#include <fcntl.h>
#include <malloc.h>
#include <microhttpd.h>
#include <netdb.h>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <optional>

namespace decor::server {

// How connections count towards the per-address cap. A direct client's connection counts
// from accept: the cap is there to stop one address from holding many connections open. A
// trusted proxy's connections carry every customer's requests and are not capped together;
// each counts for its forwarded client from the moment its headers name that client (the
// earliest the client is known) instead, and one over the cap is answered 429, since a reset
// would reach the customer as the proxy's 502. The proxy itself buffers slow clients and
// has its own limits; the overall connection limit and the deadline still apply to it.
//
// Either way a connection stops counting once its whole request is in and its reply is
// queued, before a byte of that reply is sent. With one request per connection it reads
// nothing more from its client then, and is gone once the reply is out (or idle for the
// deadline). Counting it until the library has finished closing it would refuse a client
// that has read its reply and opened its next connection, below the cap by its own count.
struct HttpListener::Connection {
  int fd;
  std::string address;  // the key its client counts under: the peer's, or the forwarded client's
  Clock::time_point started;
  bool proxied = false;  // from a trusted proxy
  bool counted = false;  // holds one of perAddress_[address]
  bool arrived = false;  // the whole request is in: the deadline no longer applies
  bool cutOff = false;
};

namespace {

constexpr const char* kText = "text/plain; charset=utf-8";

// Freed bodies worth handing back to the system: below this, malloc keeps them for the next.
constexpr std::size_t kTrimAfter = 8 * 1024 * 1024;

// One request's body as it arrives.
struct RequestState {
  explicit RequestState(BodyBudget& budget, std::size_t maxBytes) : body(budget, maxBytes) {}
  RequestBody body;
  bool answered = false;  // refused before the body was read; the rest is discarded
  // The rest of the body is discarded, then refused for this reason.
  RequestBody::Added discarded = RequestBody::Added::Kept;
};

MHD_Result queueReply(MHD_Connection* connection, const HttpReply& reply) {
  MHD_Response* response = MHD_create_response_from_buffer(
      reply.body.size(), const_cast<char*>(reply.body.data()), MHD_RESPMEM_MUST_COPY);
  if (response == nullptr) return MHD_NO;
  if (!reply.contentType.empty()) MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, reply.contentType.c_str());
  for (const auto& [name, value] : reply.headers) MHD_add_response_header(response, name.c_str(), value.c_str());
  // One request per connection: the deadline covers the connection, and stop() never waits
  // for an idle keep-alive client.
  MHD_add_response_header(response, MHD_HTTP_HEADER_CONNECTION, "close");
  const MHD_Result queued = MHD_queue_response(connection, static_cast<unsigned>(reply.status), response);
  MHD_destroy_response(response);
  return queued;
}

MHD_Result collectQuery(void* cls, MHD_ValueKind, const char* key, const char* value) {
  static_cast<std::map<std::string, std::string>*>(cls)->emplace(key, value ? value : "");
  return MHD_YES;
}

MHD_Result collectHeader(void* cls, MHD_ValueKind, const char* key, const char* value) {
  std::string name(key);
  for (char& c : name) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  static_cast<std::map<std::string, std::string>*>(cls)->emplace(std::move(name), value ? value : "");
  return MHD_YES;
}

const char* header(MHD_Connection* connection, const char* name) {
  return MHD_lookup_connection_value(connection, MHD_HEADER_KIND, name);
}

// Every X-Forwarded-For line, joined by commas in the order they came: one list.
std::string forwardedFor(MHD_Connection* connection) {
  std::string joined;
  MHD_get_connection_values(
      connection, MHD_HEADER_KIND,
      [](void* cls, MHD_ValueKind, const char* key, const char* value) {
        auto& list = *static_cast<std::string*>(cls);
        if (strcasecmp(key, "X-Forwarded-For") != 0 || value == nullptr) return MHD_YES;
        if (!list.empty()) list += ',';
        list += value;
        return MHD_YES;
      },
      &joined);
  return joined;
}

std::optional<IpAddress> peerOf(MHD_Connection* connection) {
  const auto* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
  return ipAddressOf(info ? info->client_addr : nullptr);
}

std::string keyOf(const std::optional<IpAddress>& address) { return address ? addressKey(*address) : "?"; }

// Whether the request declares its body length twice with different values. The library
// reads the first; a proxy in front might read another, and the two would split the stream
// differently (request smuggling).
bool conflictingLengths(MHD_Connection* connection) {
  struct Seen {
    const char* first = nullptr;
    bool conflict = false;
  } seen;
  MHD_get_connection_values(
      connection, MHD_HEADER_KIND,
      [](void* cls, MHD_ValueKind, const char* key, const char* value) {
        auto& s = *static_cast<Seen*>(cls);
        if (strcasecmp(key, MHD_HTTP_HEADER_CONTENT_LENGTH) != 0) return MHD_YES;
        const char* v = value ? value : "";
        if (s.first == nullptr) s.first = v;
        else if (std::strcmp(s.first, v) != 0) s.conflict = true;
        return MHD_YES;
      },
      &seen);
  return seen.conflict;
}

}  // namespace

// libmicrohttpd's callbacks, with access to the listener's state.
struct ListenerCallbacks {
  static MHD_Result accept(void* cls, const sockaddr* address, socklen_t) {
    auto& self = *static_cast<HttpListener*>(cls);
    const auto peer = ipAddressOf(address);
    if (peer && self.proxies_.trusts(*peer)) return MHD_YES;
    std::lock_guard lock(self.mutex_);
    const auto found = self.perAddress_.find(keyOf(peer));
    if (found == self.perAddress_.end() || found->second < self.limits_.connectionsPerAddress) return MHD_YES;
    self.refused_.add(Refusal::Connections);
    return MHD_NO;
  }

  static void notify(void* cls, MHD_Connection* connection, void** context, MHD_ConnectionNotificationCode code) {
    auto& self = *static_cast<HttpListener*>(cls);
    if (code == MHD_CONNECTION_NOTIFY_STARTED) {
      const auto* fd = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD);
      const auto peer = peerOf(connection);
      auto entry = std::make_unique<HttpListener::Connection>(
          HttpListener::Connection{fd ? fd->connect_fd : -1, keyOf(peer), Clock::now()});
      entry->proxied = peer && self.proxies_.trusts(*peer);
      *context = entry.get();
      std::lock_guard lock(self.mutex_);
      // accept() let it through, but others from the address may have been accepted on
      // other threads since: the count taken here is the one that holds.
      if (!entry->proxied && !self.countConnection(*entry)) {
        entry->cutOff = true;
        ::shutdown(entry->fd, SHUT_RDWR);
        self.refused_.add(Refusal::Connections);
      }
      self.connections_.emplace(entry.get(), std::move(entry));
      return;
    }
    // libmicrohttpd closes the socket only after this returns, so a cut-off under the lock
    // never reaches a reused descriptor.
    auto* entry = static_cast<HttpListener::Connection*>(*context);
    if (entry == nullptr) return;
    std::lock_guard lock(self.mutex_);
    self.releaseConnection(*entry);
    self.connections_.erase(entry);
    *context = nullptr;
    // A stopping server waits for its last connection.
    if (self.stopping_ && self.connections_.empty()) self.wake_.notify_all();
  }

  static MHD_Result access(void* cls, MHD_Connection* connection, const char* url, const char* method,
                           const char*, const char* upload, size_t* uploadSize, void** requestContext) {
    auto& self = *static_cast<HttpListener*>(cls);
    auto* state = static_cast<RequestState*>(*requestContext);
    if (state == nullptr) {
      state = new RequestState(self.bodies_, bodyLimit(self, url));
      *requestContext = state;
      if (!countForwardedClient(self, connection)) {
        return refuse(self, connection, *state, Refusal::Connections, {429, kText, "发送失败：同时连接过多，请稍后再试"});
      }
      // What the headers alone refuse is refused before a byte of the body is read.
      const char* encoding = header(connection, MHD_HTTP_HEADER_CONTENT_ENCODING);
      if (encoding != nullptr && strcasecmp(encoding, "identity") != 0) {
        return refuse(self, connection, *state, Refusal::Encoded, {415, kText, "发送失败：不接受压缩的请求"});
      }
      if (conflictingLengths(connection)) {
        return refuse(self, connection, *state, Refusal::Unreadable, {400, kText, "发送失败：请求长度不一致"});
      }
      const char* length = header(connection, MHD_HTTP_HEADER_CONTENT_LENGTH);
      if (length != nullptr) {
        switch (state->body.expect(std::strtoull(length, nullptr, 10))) {
          case RequestBody::Added::Kept: break;
          case RequestBody::Added::TooLarge: return refuse(self, connection, *state, Refusal::TooLarge, tooLarge(state->body.maxBytes()));
          case RequestBody::Added::OverBudget: return refuse(self, connection, *state, Refusal::Busy, busy());
        }
      }
      return MHD_YES;
    }
    if (state->answered) {
      *uploadSize = 0;
      return MHD_YES;
    }
    if (*uploadSize != 0) {
      // A chunked body has no length up front: the same limit applies as it arrives. The
      // library answers only once the body is in, so the rest is read and dropped, within
      // the deadline.
      if (state->discarded == RequestBody::Added::Kept) state->discarded = state->body.append(upload, *uploadSize);
      if (state->discarded != RequestBody::Added::Kept) state->body.take();
      *uploadSize = 0;
      return MHD_YES;
    }
    // A refusal once the whole request is in stops counting like any other reply.
    if (state->discarded == RequestBody::Added::TooLarge) {
      return finish(self, connection, *state, Refusal::TooLarge, tooLarge(state->body.maxBytes()));
    }
    if (state->discarded == RequestBody::Added::OverBudget) return finish(self, connection, *state, Refusal::Busy, busy());

    HttpRequest request{method, url, {}, {}, state->body.take(), {}};
    MHD_get_connection_values(connection, MHD_GET_ARGUMENT_KIND, collectQuery, &request.query);
    MHD_get_connection_values(connection, MHD_HEADER_KIND, collectHeader, &request.headers);
    if (auto* entry = entryOf(connection)) {
      std::lock_guard lock(self.mutex_);
      entry->arrived = true;
      request.address = entry->address;
    }
    state->answered = true;
    // Nothing may unwind into the library.
    HttpReply reply;
    try {
      reply = self.handler_(request);
    } catch (...) {
      reply = {500, kText, "服务器内部错误"};
    }
    replyQueued(self, connection);
    return queueReply(connection, reply);
  }

  static void completed(void*, MHD_Connection*, void** requestContext, MHD_RequestTerminationCode) {
    delete static_cast<RequestState*>(*requestContext);
    *requestContext = nullptr;
  }

 private:
  // For a trusted proxy's connection, once its headers are in: counts it for the client they
  // name; false when that client is at the cap.
  static bool countForwardedClient(HttpListener& self, MHD_Connection* connection) {
    auto* entry = entryOf(connection);
    if (entry == nullptr || !entry->proxied) return true;
    const auto peer = peerOf(connection);
    const std::string client = peer ? addressKey(self.proxies_.clientOf(*peer, forwardedFor(connection))) : "?";
    std::lock_guard lock(self.mutex_);
    entry->address = client;
    return self.countConnection(*entry);
  }
  static void replyQueued(HttpListener& self, MHD_Connection* connection) {
    auto* entry = entryOf(connection);
    if (entry == nullptr) return;
    std::lock_guard lock(self.mutex_);
    self.releaseConnection(*entry);
  }
  static HttpListener::Connection* entryOf(MHD_Connection* connection) {
    const auto* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_SOCKET_CONTEXT);
    return info ? static_cast<HttpListener::Connection*>(info->socket_context) : nullptr;
  }
  // A refusal once the whole request is in: it stops counting like any other reply.
  static MHD_Result finish(HttpListener& self, MHD_Connection* connection, RequestState& state, Refusal why,
                           const HttpReply& reply) {
    replyQueued(self, connection);
    return refuse(self, connection, state, why, reply);
  }
  static HttpReply tooLarge(std::size_t limit) {
    // Appended piece by piece: GCC 12 at -O3 misreads `"…" + std::to_string(…)` as an overlap.
    std::string text = "发送失败：请求超过 ";
    text += std::to_string(limit / 1024);
    text += " KiB";
    return {413, kText, std::move(text)};
  }
  // A call that takes a whole document may post more than a form.
  static std::size_t bodyLimit(const HttpListener& self, std::string_view url) {
    const RequestLimits& limits = self.limits_;
    return !limits.largeBodyPath.empty() && url.starts_with(limits.largeBodyPath) ? limits.largeBodyBytes
                                                                                   : limits.bodyBytes;
  }
  static HttpReply busy() { return {503, kText, "发送失败：服务器繁忙，请稍后再试"}; }
  static MHD_Result refuse(HttpListener& self, MHD_Connection* connection, RequestState& state, Refusal why,
                           const HttpReply& reply) {
    self.refused_.add(why);
    state.answered = true;
    return queueReply(connection, reply);
  }
};

HttpListener::HttpListener(RequestLimits limits, TrustedProxies proxies, HttpHandler handler, RefusalCounts& refused,
                           std::function<void()> tick)
    : limits_(limits),
      proxies_(std::move(proxies)),
      handler_(std::move(handler)),
      refused_(refused),
      tick_(std::move(tick)),
      bodies_(limits.bodyBudget) {}

HttpListener::~HttpListener() {
  if (listenFd_ >= 0) ::close(listenFd_);
}

int HttpListener::bind(const std::string& host, int port) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) return -1;
  int fd = -1;
  for (const addrinfo* a = found; a != nullptr && fd < 0; a = a->ai_next) {
    fd = ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, a->ai_protocol);
    if (fd < 0) continue;
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (::bind(fd, a->ai_addr, a->ai_addrlen) != 0 || ::listen(fd, static_cast<int>(limits_.backlog)) != 0) {
      ::close(fd);
      fd = -1;
      continue;
    }
    ipv6_ = a->ai_family == AF_INET6;
  }
  freeaddrinfo(found);
  if (fd < 0) return -1;
  sockaddr_storage bound{};
  socklen_t length = sizeof bound;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length);
  listenFd_ = fd;
  return ntohs(bound.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port
                                           : reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
}

void HttpListener::serve() {
  {
    std::lock_guard lock(mutex_);
    if (stopping_ || listenFd_ < 0) return;
  }
  const auto idleSeconds = static_cast<unsigned>(
      std::max<long long>(1, std::chrono::ceil<std::chrono::seconds>(limits_.deadline).count()));
  MHD_Daemon* daemon = MHD_start_daemon(
      MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_EPOLL | MHD_USE_ITC | (ipv6_ ? MHD_USE_IPv6 : 0), 0,
      ListenerCallbacks::accept, this, ListenerCallbacks::access, this,
      MHD_OPTION_LISTEN_SOCKET, static_cast<MHD_socket>(listenFd_),
      MHD_OPTION_THREAD_POOL_SIZE, limits_.threads,
      MHD_OPTION_CONNECTION_LIMIT, limits_.connections,
      MHD_OPTION_CONNECTION_TIMEOUT, idleSeconds,
      MHD_OPTION_CONNECTION_MEMORY_LIMIT, limits_.connectionMemory,
      MHD_OPTION_NOTIFY_CONNECTION, ListenerCallbacks::notify, this,
      MHD_OPTION_NOTIFY_COMPLETED, ListenerCallbacks::completed, this,
      MHD_OPTION_END);
  if (daemon == nullptr) return;
  listenFd_ = -1;  // the daemon closes it

  std::unique_lock lock(mutex_);
  while (!stopping_) {
    wake_.wait_for(lock, std::chrono::milliseconds(250));
    housekeeping(lock);
  }
  // What was accepted is served to its end: the requests already read are answered, and
  // those still arriving get their deadline. New connections are refused from here on.
  lock.unlock();
  stopAccepting(daemon);
  lock.lock();
  const auto until = Clock::now() + limits_.deadline + kReplyTime;
  while (!connections_.empty() && Clock::now() < until) {
    wake_.wait_for(lock, std::chrono::milliseconds(50));
    housekeeping(lock);
  }
  lock.unlock();
  MHD_stop_daemon(daemon);
}

void HttpListener::housekeeping(std::unique_lock<std::mutex>& lock) {
  cutOffLateRequests();
  lock.unlock();
  // malloc keeps freed bodies in its arenas for reuse; after a burst of large bodies the
  // server would stay at its peak size for good. glibc returns whole free pages on request.
#if defined(__GLIBC__)
  if (bodies_.drained(kTrimAfter)) ::malloc_trim(0);
#endif
  if (tick_) tick_();
  lock.lock();
}

void HttpListener::stopAccepting(MHD_Daemon* daemon) {
  const MHD_socket listening = MHD_quiesce_daemon(daemon);
  if (listening == MHD_INVALID_SOCKET) return;
  // Connections the system completed but the library had not taken yet would be reset by the
  // close, their requests perhaps already sent: they are handed to the library first.
  for (;;) {
    sockaddr_storage from{};
    socklen_t length = sizeof from;
    const int fd = ::accept4(listening, reinterpret_cast<sockaddr*>(&from), &length, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0) break;
    // The library closes the socket itself when it cannot take it.
    MHD_add_connection(daemon, fd, reinterpret_cast<sockaddr*>(&from), length);
  }
  ::close(listening);
}

void HttpListener::stop() {
  std::lock_guard lock(mutex_);
  stopping_ = true;
  wake_.notify_all();
}

void HttpListener::cutOffLateRequests() {
  const auto now = Clock::now();
  for (auto& [key, connection] : connections_) {
    if (connection->arrived || connection->cutOff || now - connection->started < limits_.deadline) continue;
    // Its address may connect again as soon as it sees the close.
    releaseConnection(*connection);
    connection->cutOff = true;
    // The connection's thread sees the end of the stream and closes it.
    ::shutdown(connection->fd, SHUT_RDWR);
    refused_.add(Refusal::Deadline);
  }
}

bool HttpListener::countConnection(Connection& connection) {
  unsigned& count = perAddress_[connection.address];
  if (count >= limits_.connectionsPerAddress) return false;
  ++count;
  connection.counted = true;
  return true;
}

void HttpListener::releaseConnection(Connection& connection) {
  if (!connection.counted) return;
  connection.counted = false;
  const auto count = perAddress_.find(connection.address);
  if (count != perAddress_.end() && --count->second == 0) perAddress_.erase(count);
}

}  // namespace decor::server
