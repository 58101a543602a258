#pragma once
// The program's URL reader over the real network.
#include <memory>
#include <utility>

#include "net/http_client.h"
#include "net/url_fetcher.h"

namespace decor {

// Safe to call from several threads at once: every request has its own transfer. Once
// `cancel` (when given) is set, requests under way end and later ones fail at once.
class HttpUrlFetcher final : public UrlFetcher {
 public:
  explicit HttpUrlFetcher(FetchLimits limits = {}, std::shared_ptr<const CancelFlag> cancel = nullptr)
      : limits_(limits), cancel_(std::move(cancel)) {}

  std::string fetchUrl(const std::string& url) override { return fetchBody(url).bytes; }
  FetchedBody fetchBody(const std::string& url) override { return fetchUrlBody(url, limits_, cancel_.get()); }

 private:
  FetchLimits limits_;
  std::shared_ptr<const CancelFlag> cancel_;
};

}  // namespace decor
