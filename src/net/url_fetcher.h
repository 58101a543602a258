#pragma once
// The program's URL reader: an HTTP GET that returns the body bytes, empty on any failure.
// Behind an interface so that tests and the start-up code can run without the network.
#include <string>

namespace decor {

// A GET's body and whether it arrived whole. A transfer that broke off midway (or was cut
// at the size limit) keeps what had arrived but is not complete.
struct FetchedBody {
  std::string bytes;
  bool complete = false;
};

class UrlFetcher {
 public:
  virtual ~UrlFetcher() = default;
  // Blocks the calling thread; never called on the GUI thread.
  virtual std::string fetchUrl(const std::string& url) = 0;

  // For callers that must not act on half a file. A reader that cannot tell reports every
  // reply as whole.
  virtual FetchedBody fetchBody(const std::string& url) { return FetchedBody{fetchUrl(url), true}; }
};

// Answers every request with an empty body, as an unreachable server would.
class OfflineUrlFetcher final : public UrlFetcher {
 public:
  std::string fetchUrl(const std::string&) override { return {}; }
};

}  // namespace decor
