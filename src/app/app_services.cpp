#include "app/app_services.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

#include "net/http_url_fetcher.h"

namespace decor {

AppServices AppServices::forDesktop() {
  auto workers = std::make_shared<WorkerPool>();
  return AppServices{
      .state = std::make_shared<AppState>(),
      .fetcher = std::make_shared<HttpUrlFetcher>(FetchLimits{}, workers->cancelFlag()),
      .postForm = httpFormPoster(HttpLimits{}, workers->cancelFlag()),
      .endpoints = Endpoints::compiledIn(),
      .openInBrowser =
          [](const std::string& address) {
            QDesktopServices::openUrl(QUrl(QString::fromStdString(address), QUrl::TolerantMode));
          },
      .workers = std::move(workers),
  };
}

}  // namespace decor
