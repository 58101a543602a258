#pragma once
// The program's URL reader over the real network.
#include "net/http_client.h"
#include "net/url_fetcher.h"

namespace decor {

// Safe to call from several threads at once: every request has its own transfer.
class HttpUrlFetcher final : public UrlFetcher {
 public:
  explicit HttpUrlFetcher(FetchLimits limits = {}) : limits_(limits) {}

  std::string fetchUrl(const std::string& url) override { return fetchUrlBody(url, limits_).bytes; }
  FetchedBody fetchBody(const std::string& url) override { return fetchUrlBody(url, limits_); }

 private:
  FetchLimits limits_;
};

}  // namespace decor
