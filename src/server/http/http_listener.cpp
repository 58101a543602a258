#include "server/http/http_listener.h"

#include <fcntl.h>
#include <microhttpd.h>
#include <netdb.h>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace decor::server {

struct HttpListener::Connection {
  int fd;
  std::string address;
  Clock::time_point started;
  bool arrived = false;  // the whole request is in: the deadline no longer applies
  bool cutOff = false;
};

namespace {

constexpr const char* kText = "text/plain; charset=utf-8";

// One request's body as it arrives.
struct RequestState {
  std::string body;
  bool answered = false;  // refused before the body was read; the rest is discarded
  bool tooLarge = false;  // the rest of the body is discarded, then refused
  bool large = false;     // counted among the large bodies held
  std::size_t bodyLimit = 0;
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
    std::lock_guard lock(self.mutex_);
    const auto found = self.perAddress_.find(addressKey(address));
    if (found == self.perAddress_.end() || found->second < self.limits_.connectionsPerAddress) return MHD_YES;
    self.refused_.add(Refusal::Connections);
    return MHD_NO;
  }

  static void notify(void* cls, MHD_Connection* connection, void** context, MHD_ConnectionNotificationCode code) {
    auto& self = *static_cast<HttpListener*>(cls);
    if (code == MHD_CONNECTION_NOTIFY_STARTED) {
      const auto* fd = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD);
      const auto* address = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
      auto entry = std::make_unique<HttpListener::Connection>(HttpListener::Connection{
          fd ? fd->connect_fd : -1, addressKey(address ? address->client_addr : nullptr), Clock::now()});
      *context = entry.get();
      std::lock_guard lock(self.mutex_);
      // accept() let it through, but others from the address may have been accepted on
      // other threads since: the count taken here is the one that holds.
      if (++self.perAddress_[entry->address] > self.limits_.connectionsPerAddress) {
        self.releaseAddress(entry->address);
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
    if (!entry->cutOff) self.releaseAddress(entry->address);
    self.connections_.erase(entry);
    *context = nullptr;
  }

  static MHD_Result access(void* cls, MHD_Connection* connection, const char* url, const char* method,
                           const char*, const char* upload, size_t* uploadSize, void** requestContext) {
    auto& self = *static_cast<HttpListener*>(cls);
    auto* state = static_cast<RequestState*>(*requestContext);
    if (state == nullptr) {
      state = new RequestState;
      *requestContext = state;
      // What the headers alone refuse is refused before a byte of the body is read.
      const char* encoding = header(connection, MHD_HTTP_HEADER_CONTENT_ENCODING);
      if (encoding != nullptr && strcasecmp(encoding, "identity") != 0) {
        return refuse(self, connection, *state, Refusal::Encoded, {415, kText, "发送失败：不接受压缩的请求"});
      }
      if (conflictingLengths(connection)) {
        return refuse(self, connection, *state, Refusal::Unreadable, {400, kText, "发送失败：请求长度不一致"});
      }
      state->bodyLimit = self.limits_.bodyBytes;
      if (!self.limits_.largeBodyPath.empty() && std::string_view(url).starts_with(self.limits_.largeBodyPath)) {
        std::lock_guard lock(self.mutex_);
        if (self.largeBodiesHeld_ >= self.limits_.largeBodies) {
          return refuse(self, connection, *state, Refusal::Busy, {503, kText, "服务器繁忙，请稍后再试"});
        }
        ++self.largeBodiesHeld_;
        state->large = true;
        state->bodyLimit = self.limits_.largeBodyBytes;
      }
      const char* length = header(connection, MHD_HTTP_HEADER_CONTENT_LENGTH);
      if (length != nullptr && std::strtoull(length, nullptr, 10) > state->bodyLimit) {
        return refuse(self, connection, *state, Refusal::TooLarge, tooLarge(state->bodyLimit));
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
      if (state->tooLarge || state->body.size() + *uploadSize > state->bodyLimit) {
        state->tooLarge = true;
        std::string().swap(state->body);
      } else {
        state->body.append(upload, *uploadSize);
      }
      *uploadSize = 0;
      return MHD_YES;
    }
    if (state->tooLarge) return refuse(self, connection, *state, Refusal::TooLarge, tooLarge(state->bodyLimit));

    HttpRequest request{method, url, {}, {}, std::move(state->body), {}};
    MHD_get_connection_values(connection, MHD_GET_ARGUMENT_KIND, collectQuery, &request.query);
    MHD_get_connection_values(connection, MHD_HEADER_KIND, collectHeader, &request.headers);
    const auto* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_SOCKET_CONTEXT);
    auto* entry = info ? static_cast<HttpListener::Connection*>(info->socket_context) : nullptr;
    if (entry != nullptr) {
      std::lock_guard lock(self.mutex_);
      entry->arrived = true;
      request.address = entry->address;
    }
    state->answered = true;
    // Nothing may unwind into the library.
    try {
      return queueReply(connection, self.handler_(request));
    } catch (...) {
      return queueReply(connection, {500, kText, "服务器内部错误"});
    }
  }

  static void completed(void* cls, MHD_Connection*, void** requestContext, MHD_RequestTerminationCode) {
    auto* state = static_cast<RequestState*>(*requestContext);
    if (state != nullptr && state->large) {
      auto& self = *static_cast<HttpListener*>(cls);
      std::lock_guard lock(self.mutex_);
      --self.largeBodiesHeld_;
    }
    delete state;
    *requestContext = nullptr;
  }

 private:
  static HttpReply tooLarge(std::size_t limit) {
    return {413, kText, "发送失败：请求超过 " + std::to_string(limit / 1024) + " KiB"};
  }
  static MHD_Result refuse(HttpListener& self, MHD_Connection* connection, RequestState& state, Refusal why,
                           const HttpReply& reply) {
    self.refused_.add(why);
    state.answered = true;
    return queueReply(connection, reply);
  }
};

HttpListener::HttpListener(RequestLimits limits, HttpHandler handler, RefusalCounts& refused,
                           std::function<void()> tick)
    : limits_(limits), handler_(std::move(handler)), refused_(refused), tick_(std::move(tick)) {}

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
    cutOffLateRequests();
    lock.unlock();
    if (tick_) tick_();
    lock.lock();
  }
  lock.unlock();
  MHD_stop_daemon(daemon);
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
    releaseAddress(connection->address);
    connection->cutOff = true;
    // The connection's thread sees the end of the stream and closes it.
    ::shutdown(connection->fd, SHUT_RDWR);
    refused_.add(Refusal::Deadline);
  }
}

void HttpListener::releaseAddress(const std::string& address) {
  const auto count = perAddress_.find(address);
  if (count != perAddress_.end() && --count->second == 0) perAddress_.erase(count);
}

}  // namespace decor::server
