#pragma once
// The program's HTTP client over libcurl: a configurable request for the estimate send and a
// plain GET for everything else. Both block the calling thread and may run on any thread.
#include <atomic>
#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

#include "net/url_fetcher.h"

namespace decor {

// An address with "https://" is reached over TLS (port 443 unless it names one); any other
// over plain HTTP.
struct UrlParts { std::string host; int port = 80; std::string path; bool tls = false; };
UrlParts splitUrl(std::string_view url);

// Per-phase time limits; the program uses the defaults, tests pass short ones.
struct HttpLimits {
  std::chrono::milliseconds connect{18000};
  std::chrono::milliseconds send{18000};
  std::chrono::milliseconds receive{18000};
  // For https: a file of CA certificates trusted in place of the system's. Only tests set it,
  // for a certificate they made; the program always checks against the system's list.
  const char* caFile = nullptr;
};

// Ends transfers early: once cancel() is called, every transfer given this flag stops within
// about a tenth of a second and fails as if the server had not been reached. Any thread.
class CancelFlag {
 public:
  void cancel() noexcept { cancelled_.store(true); }
  bool cancelled() const noexcept { return cancelled_.load(); }

 private:
  std::atomic<bool> cancelled_{false};
};

// Blocking, any thread. `method` is rewritten to "GET" unless it reads "POST" upper-cased.
// `headers` (may be null) is completed and handed back. Returns the reply up to its first
// zero byte; empty when the request could not be made or was cancelled through `cancel`.
std::string httpRequest(const std::string& url, std::string& method,
                        const std::string& proxy = {}, std::string* headers = nullptr,
                        const std::string& body = {}, std::string* responseHeaders = nullptr,
                        const HttpLimits& limits = {}, const CancelFlag* cancel = nullptr);

// Blocking GET, http and https; the body bytes, empty on failure.
std::string fetchUrl(const std::string& url);

// Replies are cut off at this size rather than filling memory.
inline constexpr std::size_t kMaxReplyBytes = std::size_t{8} * 1024 * 1024;

// The GET reader's own limits (the caller has none to give): the connection must open within
// `connect`, and a transfer that moves no byte for `stall` ends.
struct FetchLimits {
  std::chrono::milliseconds connect{18000};
  std::chrono::milliseconds stall{18000};
  const char* caFile = nullptr;  // as HttpLimits::caFile
};

// The same GET, saying whether the body arrived whole (a cancelled one never has).
FetchedBody fetchUrlBody(const std::string& url, const FetchLimits& limits = {}, const CancelFlag* cancel = nullptr);

}  // namespace decor
