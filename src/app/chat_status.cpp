#include "app/chat_status.h"

#include <QByteArrayView>

#include "ui/picture_box.h"

namespace decor {

QImage fetchChatStatusPicture(UrlFetcher& fetcher, const Endpoints& endpoints) {
  const std::string bytes = fetcher.fetchUrl(endpoints.chatStatusPictureUrl());
  // Decoding needs no GUI thread; only the pixmap made from it does.
  return QImage::fromData(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
}

void loadChatStatusPicture(const AppServices& services, const std::shared_ptr<GuiDispatcher>& dispatcher,
                           PictureBox* box) {
  startWorker([fetcher = services.fetcher, endpoints = services.endpoints, dispatcher, box] {
    QImage picture = fetchChatStatusPicture(*fetcher, endpoints);
    dispatcher->post([box, picture = std::move(picture)] { box->showPicture(picture); });
  });
}

}  // namespace decor
