#include "app/app_services.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

#include "net/http_url_fetcher.h"

namespace decor {

AppServices AppServices::forDesktop() {
  return AppServices{
      .state = std::make_shared<AppState>(),
      .fetcher = std::make_shared<HttpUrlFetcher>(),
      .postForm = httpFormPoster(),
      .endpoints = Endpoints::compiledIn(),
      .openInBrowser =
          [](const std::string& address) {
            QDesktopServices::openUrl(QUrl(QString::fromStdString(address), QUrl::TolerantMode));
          },
  };
}

}  // namespace decor
