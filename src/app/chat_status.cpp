#include "app/chat_status.h"

#include <QByteArray>

#include "ui/picture_box.h"
#include "ui/qt_text.h"

namespace decor {

void setUpChatStatusBox(PictureBox& box, const AppServices& services) {
  box.setPlaceholder(qt(kChatPlaceholder));
  QObject::connect(&box, &PictureBox::pressed, &box,
                   [open = services.openInBrowser, url = services.endpoints.chatPageUrl()] { open(url); });
}

std::string fetchChatStatusPicture(UrlFetcher& fetcher, const Endpoints& endpoints) {
  return fetcher.fetchUrl(endpoints.chatStatusPictureUrl());
}

void showChatStatusPicture(PictureBox& box, const std::string& bytes) {
  box.showPictureData(QByteArray(bytes.data(), qsizetype(bytes.size())));
}

void loadChatStatusPicture(const AppServices& services, const std::shared_ptr<GuiDispatcher>& dispatcher,
                           PictureBox* box) {
  services.workers->run([fetcher = services.fetcher, endpoints = services.endpoints, dispatcher, box] {
    std::string bytes = fetchChatStatusPicture(*fetcher, endpoints);
    dispatcher->post([box, bytes = std::move(bytes)] { showChatStatusPicture(*box, bytes); });
  });
}

}  // namespace decor
