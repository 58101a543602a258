#pragma once
// The program's URL reader: an HTTP GET that returns the body bytes, empty on any failure.
// Behind an interface so that tests and the start-up code can run without the network.
#include <string>

namespace decor {

class UrlFetcher {
 public:
  virtual ~UrlFetcher() = default;
  // Blocks the calling thread; never called on the GUI thread.
  virtual std::string fetchUrl(const std::string& url) = 0;
};

// Answers every request with an empty body, as an unreachable server would.
class OfflineUrlFetcher final : public UrlFetcher {
 public:
  std::string fetchUrl(const std::string&) override { return {}; }
};

}  // namespace decor
