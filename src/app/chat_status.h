#pragma once
// The chat service's online-status picture, shown by the main, quotation and contact windows.
#include <QImage>
#include <memory>

#include "app/app_services.h"
#include "app/gui_dispatcher.h"

namespace decor {

class PictureBox;

// Fetches the picture; a failed fetch or bytes that are no picture give a null image. Any thread.
QImage fetchChatStatusPicture(UrlFetcher& fetcher, const Endpoints& endpoints);

// Fetches the picture on a worker thread and shows it in `box` on the GUI thread. `box` must
// belong to the window that owns `dispatcher`. Nothing fetched leaves the box empty.
void loadChatStatusPicture(const AppServices& services, const std::shared_ptr<GuiDispatcher>& dispatcher,
                           PictureBox* box);

}  // namespace decor
