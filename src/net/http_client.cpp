#include "net/http_client.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace decor {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr const char* kUserAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr std::string_view kDefaultAccept =
    "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
    "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*\r\n";
// Only the last 1024 bytes' worth of response headers are handed back, as a fixed buffer would.
constexpr std::size_t kMaxResponseHeaderBytes = 1024;
// Headers beyond any sane size are not even collected.
constexpr std::size_t kHeaderCollectLimit = 64 * 1024;

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }
char asciiUpper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

std::string lowerAscii(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), asciiLower);
  return out;
}

// Position of `needle` in `text` from `from`, ASCII letters compared without case.
std::size_t findNoCase(std::string_view text, std::string_view needle, std::size_t from = 0) {
  if (needle.size() > text.size()) return std::string_view::npos;
  for (std::size_t i = from; i + needle.size() <= text.size(); ++i) {
    bool same = true;
    for (std::size_t j = 0; j < needle.size() && same; ++j) {
      same = asciiLower(text[i + j]) == asciiLower(needle[j]);
    }
    if (same) return i;
  }
  return std::string_view::npos;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && findNoCase(text.substr(0, prefix.size()), prefix) == 0;
}

// libcurl is set up once per process, on first use from whichever thread; its global
// clean-up is not safe to race with that, so it is left to the process's end.
void ensureCurlReady() {
  static const CURLcode ready = curl_global_init(CURL_GLOBAL_DEFAULT);
  (void)ready;
}

struct EasyDeleter {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct MultiDeleter {
  void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
struct ListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;
using MultiHandle = std::unique_ptr<CURLM, MultiDeleter>;
using HeaderList = std::unique_ptr<curl_slist, ListDeleter>;

bool append(HeaderList& list, const std::string& line) {
  curl_slist* grown = curl_slist_append(list.get(), line.c_str());
  if (grown == nullptr) return false;
  (void)list.release();
  list.reset(grown);
  return true;
}

// What one transfer has received so far, and when bytes last moved.
struct Transfer {
  std::string body;
  bool cut = false;
  std::string responseHeaders;
  curl_off_t uploaded = 0;
  curl_off_t uploadTotal = 0;
  Clock::time_point lastActivity = Clock::now();
  const CancelFlag* cancel = nullptr;

  bool cancelled() const { return cancel != nullptr && cancel->cancelled(); }
};

// Callbacks run inside libcurl: nothing may throw through them.
std::size_t onBody(char* data, std::size_t size, std::size_t count, void* user) noexcept {
  auto& transfer = *static_cast<Transfer*>(user);
  const std::size_t bytes = size * count;
  transfer.lastActivity = Clock::now();
  const std::size_t room = kMaxReplyBytes - transfer.body.size();
  try {
    transfer.body.append(data, std::min(bytes, room));
  } catch (...) {
    return 0;
  }
  if (bytes > room) {
    transfer.cut = true;
    return 0;  // ends the transfer
  }
  return bytes;
}

std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* user) noexcept {
  auto& transfer = *static_cast<Transfer*>(user);
  const std::size_t bytes = size * count;
  transfer.lastActivity = Clock::now();
  const std::string_view line(data, bytes);
  try {
    // A new status line starts a new response (after a 100 Continue, say): keep only the last.
    if (line.starts_with("HTTP/")) transfer.responseHeaders.clear();
    if (transfer.responseHeaders.size() < kHeaderCollectLimit) transfer.responseHeaders.append(line);
  } catch (...) {
    return 0;
  }
  return bytes;
}

int onProgress(void* user, curl_off_t, curl_off_t, curl_off_t uploadTotal, curl_off_t uploaded) noexcept {
  auto& transfer = *static_cast<Transfer*>(user);
  if (uploaded != transfer.uploaded) transfer.lastActivity = Clock::now();
  transfer.uploaded = uploaded;
  transfer.uploadTotal = uploadTotal;
  return transfer.cancelled() ? 1 : 0;  // non-zero aborts the transfer
}

long clampedMs(milliseconds limit) { return long(std::clamp<milliseconds::rep>(limit.count(), 1, 86'400'000)); }

// Runs the transfer set up on `easy`. Once connected, it ends when no byte has moved for the
// send limit (while the body goes out) or the receive limit (afterwards); libcurl itself
// keeps the connect limit.
CURLcode perform(CURL* easy, Transfer& transfer, milliseconds sendLimit, milliseconds receiveLimit) {
  MultiHandle multi(curl_multi_init());
  if (!multi) return CURLE_OUT_OF_MEMORY;
  if (curl_multi_add_handle(multi.get(), easy) != CURLM_OK) return CURLE_FAILED_INIT;

  CURLcode result = CURLE_OK;
  bool connected = false;
  bool finished = false;
  while (!finished) {
    int running = 0;
    if (curl_multi_perform(multi.get(), &running) != CURLM_OK) {
      result = CURLE_SEND_ERROR;
      break;
    }
    if (running == 0) {
      int queued = 0;
      result = CURLE_RECV_ERROR;
      while (CURLMsg* message = curl_multi_info_read(multi.get(), &queued)) {
        if (message->msg == CURLMSG_DONE) result = message->data.result;
      }
      finished = true;
      break;
    }

    // libcurl calls the progress callback less often while nothing moves: the wait below is
    // what bounds the time a cancellation takes.
    if (transfer.cancelled()) {
      result = CURLE_ABORTED_BY_CALLBACK;
      break;
    }
    const Clock::time_point now = Clock::now();
    if (!connected) {
      curl_off_t connectTime = 0;
      connected = curl_easy_getinfo(easy, CURLINFO_CONNECT_TIME_T, &connectTime) == CURLE_OK && connectTime > 0;
      if (connected) transfer.lastActivity = now;
    }
    milliseconds wait{100};
    if (connected) {
      const bool sending = transfer.uploaded < transfer.uploadTotal;
      const Clock::time_point deadline = transfer.lastActivity + (sending ? sendLimit : receiveLimit);
      if (now >= deadline) {
        result = CURLE_OPERATION_TIMEDOUT;
        break;
      }
      wait = std::min(wait, std::chrono::ceil<milliseconds>(deadline - now));
    }
    curl_multi_wait(multi.get(), nullptr, 0, int(std::max<milliseconds::rep>(wait.count(), 1)), nullptr);
  }
  curl_multi_remove_handle(multi.get(), easy);
  return result;
}

// The settings both operations share.
bool setCommonOptions(CURL* easy, Transfer& transfer, milliseconds connectLimit) {
  bool ok = true;
  ok &= curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L) == CURLE_OK;
  ok &= curl_easy_setopt(easy, CURLOPT_USERAGENT, kUserAgent) == CURLE_OK;
  ok &= curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, clampedMs(connectLimit)) == CURLE_OK;
  ok &= curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &onBody) == CURLE_OK;
  ok &= curl_easy_setopt(easy, CURLOPT_WRITEDATA, &transfer) == CURLE_OK;
  ok &= curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &onHeader) == CURLE_OK;
  ok &= curl_easy_setopt(easy, CURLOPT_HEADERDATA, &transfer) == CURLE_OK;
  ok &= curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L) == CURLE_OK;
  ok &= curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &onProgress) == CURLE_OK;
  ok &= curl_easy_setopt(easy, CURLOPT_XFERINFODATA, &transfer) == CURLE_OK;
  return ok;
}

// Completes the caller's extra headers: each default only when its name is not there yet.
void completeHeaders(std::string& headers, const std::string& url) {
  if (findNoCase(headers, "Accept: ") == std::string::npos) headers += kDefaultAccept;
  if (findNoCase(headers, "Referer: ") == std::string::npos) headers += "Referer: " + url + "\r\n";
  if (findNoCase(headers, "Accept-Language: ") == std::string::npos) headers += "Accept-Language: zh-cn\r\n";
}

// One list entry per header line. libcurl's own Expect, proxy keep-alive and (for a POST)
// Content-Type and Content-Length are switched off: only what the caller and the rules above
// put in goes out.
bool buildHeaderList(HeaderList& list, std::string_view headers, bool post) {
  std::size_t start = 0;
  while (start < headers.size()) {
    std::size_t end = headers.find('\n', start);
    if (end == std::string_view::npos) end = headers.size();
    std::string_view line = headers.substr(start, end - start);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (!line.empty() && !append(list, std::string(line))) return false;
    start = end + 1;
  }
  bool ok = append(list, "Expect:") && append(list, "Proxy-Connection:");
  if (post) ok = ok && append(list, "Content-Type:") && append(list, "Content-Length:");
  return ok;
}

std::string upToFirstZero(const std::string& bytes) { return bytes.substr(0, bytes.find('\0')); }

std::string requestOrThrow(const std::string& url, std::string& method, const std::string& proxy,
                           std::string* headers, const std::string& body, std::string* responseHeaders,
                           const HttpLimits& limits, const CancelFlag* cancel) {
  ensureCurlReady();

  std::string upperMethod = method;
  std::transform(upperMethod.begin(), upperMethod.end(), upperMethod.begin(), asciiUpper);
  const bool post = upperMethod == "POST";
  if (!post) method = "GET";

  std::string headerText = headers != nullptr ? *headers : std::string();
  completeHeaders(headerText, url);
  if (post && !body.empty()) {
    headerText += "Content-Type: application/x-www-form-urlencoded\r\n";
    headerText += "Content-Length: " + std::to_string(body.size()) + "\r\n";
  }
  if (headers != nullptr) *headers = headerText;

  if (cancel != nullptr && cancel->cancelled()) return {};
  EasyHandle easy(curl_easy_init());
  if (!easy) return {};
  Transfer transfer;
  transfer.cancel = cancel;
  HeaderList headerList;
  if (!setCommonOptions(easy.get(), transfer, limits.connect) || !buildHeaderList(headerList, headerText, post)) {
    return {};
  }

  const UrlParts parts = splitUrl(url);
  const std::string target =
      (parts.tls ? "https://" : "http://") + parts.host + ":" + std::to_string(parts.port) + parts.path;
  const std::string proxyAddress = proxy.empty() ? std::string() : "http://" + proxy;
  bool ok = true;
  ok &= curl_easy_setopt(easy.get(), CURLOPT_URL, target.c_str()) == CURLE_OK;
  ok &= curl_easy_setopt(easy.get(), CURLOPT_PROTOCOLS_STR, parts.tls ? "https" : "http") == CURLE_OK;
  if (limits.caFile != nullptr) ok &= curl_easy_setopt(easy.get(), CURLOPT_CAINFO, limits.caFile) == CURLE_OK;
  // An empty proxy means direct access, whatever the environment says.
  ok &= curl_easy_setopt(easy.get(), CURLOPT_PROXY, proxyAddress.c_str()) == CURLE_OK;
  ok &= curl_easy_setopt(easy.get(), CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_1)) == CURLE_OK;
  ok &= curl_easy_setopt(easy.get(), CURLOPT_HTTPHEADER, headerList.get()) == CURLE_OK;
  if (post) {
    ok &= curl_easy_setopt(easy.get(), CURLOPT_POST, 1L) == CURLE_OK;
    ok &= curl_easy_setopt(easy.get(), CURLOPT_POSTFIELDS, body.data()) == CURLE_OK;
    ok &= curl_easy_setopt(easy.get(), CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(body.size())) == CURLE_OK;
    // The caller's spelling goes on the wire.
    if (method != "POST") ok &= curl_easy_setopt(easy.get(), CURLOPT_CUSTOMREQUEST, method.c_str()) == CURLE_OK;
  } else {
    ok &= curl_easy_setopt(easy.get(), CURLOPT_HTTPGET, 1L) == CURLE_OK;
  }
  if (!ok) return {};

  const CURLcode result = perform(easy.get(), transfer, limits.send, limits.receive);
  // Nothing came back from the server at all: the request could not be made.
  if (result != CURLE_OK && transfer.responseHeaders.empty() && transfer.body.empty()) return {};
  if (result == CURLE_ABORTED_BY_CALLBACK) return {};

  if (responseHeaders != nullptr) {
    *responseHeaders =
        transfer.responseHeaders.size() <= kMaxResponseHeaderBytes ? transfer.responseHeaders : std::string();
  }
  return upToFirstZero(transfer.body);
}

FetchedBody fetchOrThrow(const std::string& url, const FetchLimits& limits, const CancelFlag* cancel) {
  if (cancel != nullptr && cancel->cancelled()) return {};
  ensureCurlReady();
  EasyHandle easy(curl_easy_init());
  if (!easy) return {};
  Transfer transfer;
  transfer.cancel = cancel;
  HeaderList headerList;
  if (!setCommonOptions(easy.get(), transfer, limits.connect) || !append(headerList, "Accept: */*")) return {};

  bool ok = true;
  ok &= curl_easy_setopt(easy.get(), CURLOPT_URL, url.c_str()) == CURLE_OK;
  ok &= curl_easy_setopt(easy.get(), CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK;
  ok &= curl_easy_setopt(easy.get(), CURLOPT_REDIR_PROTOCOLS_STR, "http,https") == CURLE_OK;
  ok &= curl_easy_setopt(easy.get(), CURLOPT_FOLLOWLOCATION, 1L) == CURLE_OK;
  ok &= curl_easy_setopt(easy.get(), CURLOPT_MAXREDIRS, 5L) == CURLE_OK;
  if (limits.caFile != nullptr) ok &= curl_easy_setopt(easy.get(), CURLOPT_CAINFO, limits.caFile) == CURLE_OK;
  ok &= curl_easy_setopt(easy.get(), CURLOPT_PROXY, "") == CURLE_OK;
  ok &= curl_easy_setopt(easy.get(), CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_0)) == CURLE_OK;
  ok &= curl_easy_setopt(easy.get(), CURLOPT_HTTPHEADER, headerList.get()) == CURLE_OK;
  ok &= curl_easy_setopt(easy.get(), CURLOPT_HTTPGET, 1L) == CURLE_OK;
  if (!ok) return {};

  const CURLcode result = perform(easy.get(), transfer, limits.stall, limits.stall);
  if (result == CURLE_ABORTED_BY_CALLBACK) return {};
  return FetchedBody{std::move(transfer.body), result == CURLE_OK && !transfer.cut};
}

}  // namespace

UrlParts splitUrl(std::string_view url) {
  std::string_view authority;
  UrlParts parts;
  if (startsWithNoCase(url, "http://") || startsWithNoCase(url, "https://")) {
    parts.tls = startsWithNoCase(url, "https://");
    parts.port = parts.tls ? 443 : 80;
    const std::string_view rest = url.substr(parts.tls ? 8 : 7);
    authority = rest.substr(0, rest.find('/'));
  } else {
    authority = url.substr(0, url.find('/'));
  }

  const std::size_t colon = authority.find(':');
  parts.host = lowerAscii(authority.substr(0, colon));
  if (colon != std::string_view::npos) {
    // The leading digits, like atoi; an absurdly long run stops growing instead of overflowing.
    int port = 0;
    for (std::size_t i = colon + 1; i < authority.size() && authority[i] >= '0' && authority[i] <= '9'; ++i) {
      if (port < 1'000'000) port = port * 10 + (authority[i] - '0');
    }
    parts.port = port;
  }

  const std::size_t hostAt = findNoCase(url, parts.host);
  const std::size_t slash = hostAt == std::string_view::npos ? std::string_view::npos : url.find('/', hostAt);
  parts.path = slash == std::string_view::npos ? std::string("/") : std::string(url.substr(slash));
  return parts;
}

std::string httpRequest(const std::string& url, std::string& method, const std::string& proxy, std::string* headers,
                        const std::string& body, std::string* responseHeaders, const HttpLimits& limits,
                        const CancelFlag* cancel) {
  try {
    return requestOrThrow(url, method, proxy, headers, body, responseHeaders, limits, cancel);
  } catch (const std::bad_alloc&) {
    return {};
  }
}

FetchedBody fetchUrlBody(const std::string& url, const FetchLimits& limits, const CancelFlag* cancel) {
  try {
    return fetchOrThrow(url, limits, cancel);
  } catch (const std::bad_alloc&) {
    return {};
  }
}

std::string fetchUrl(const std::string& url) { return fetchUrlBody(url).bytes; }

}  // namespace decor
