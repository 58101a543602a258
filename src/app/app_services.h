#pragma once
// What the windows need from outside: the shared state, the URL reader, the form poster, the
// deployment addresses and the browser. Passed to every window so that tests can swap each.
#include <functional>
#include <memory>
#include <string>

#include "app/app_state.h"
#include "net/endpoints.h"
#include "net/estimate_send.h"
#include "net/url_fetcher.h"

namespace decor {

struct AppServices {
  std::shared_ptr<AppState> state;
  // Called from several worker threads at once; implementations must allow that.
  std::shared_ptr<UrlFetcher> fetcher;
  // Posts the quote form; called from several worker threads at once.
  FormPoster postForm;
  Endpoints endpoints;
  // Hands a web address to the default browser without waiting. GUI thread.
  std::function<void(const std::string& address)> openInBrowser;

  // The program's own set: one fresh state, the HTTP URL reader and form poster, the
  // compiled-in addresses, the desktop browser.
  static AppServices forDesktop();
};

}  // namespace decor
