#pragma once
// What the windows need from outside: the shared state, the URL reader, the form poster, the
// deployment addresses, the browser and the worker threads. Passed to every window so that
// tests can swap each.
#include <functional>
#include <memory>
#include <string>

#include "app/app_state.h"
#include "app/worker_pool.h"
#include "deployment/endpoints.h"
#include "net/estimate_send.h"
#include "net/url_fetcher.h"

namespace decor {

struct AppServices {
  std::shared_ptr<AppState> state;
  // Called from several worker threads at once; implementations must allow that.
  std::shared_ptr<UrlFetcher> fetcher;
  // Posts the estimate form; called from several worker threads at once.
  FormPoster postForm;
  Endpoints endpoints;
  // Hands a web address to the default browser without waiting. GUI thread.
  std::function<void(const std::string& address)> openInBrowser;
  // Where the windows' slow work runs. Every window's copy shares the one pool; the program
  // stops it once its windows are gone, else the last copy's end does.
  std::shared_ptr<WorkerPool> workers;

  // The program's own set: one fresh state, the HTTP URL reader and form poster (both ended
  // by stopping the pool), the compiled-in addresses, the desktop browser, a new pool.
  static AppServices forDesktop();
};

}  // namespace decor
