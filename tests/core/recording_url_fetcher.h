#pragma once
// A URL reader for tests: answers from a table of URL -> body (anything else: empty, as an
// unreachable server would) and records every request in order. One thread only.
#include <map>
#include <string>
#include <vector>

#include "net/url_fetcher.h"

namespace decor {

class RecordingUrlFetcher final : public UrlFetcher {
 public:
  void answer(const std::string& url, std::string body) { bodies_[url] = std::move(body); }

  std::string fetchUrl(const std::string& url) override {
    requested.push_back(url);
    const auto it = bodies_.find(url);
    return it == bodies_.end() ? std::string() : it->second;
  }

  std::vector<std::string> requested;

 private:
  std::map<std::string, std::string> bodies_;
};

}  // namespace decor
