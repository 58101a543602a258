#pragma once
// The chat service's online-status picture, shown by the main, quotation and contact windows.
#include <memory>
#include <string>

#include "app/app_services.h"
#include "app/gui_dispatcher.h"

namespace decor {

class PictureBox;

// Fetches the picture's bytes (empty on failure). Any thread. Workers only fetch: decoding
// uses Qt's image plugins, which must not be busy on a worker when the program ends.
std::string fetchChatStatusPicture(UrlFetcher& fetcher, const Endpoints& endpoints);

// Shows fetched bytes in the box. GUI thread.
void showChatStatusPicture(PictureBox& box, const std::string& bytes);

// Fetches the picture on a worker thread and shows it in `box` on the GUI thread. `box` must
// belong to the window that owns `dispatcher`. Nothing fetched leaves the box empty.
void loadChatStatusPicture(const AppServices& services, const std::shared_ptr<GuiDispatcher>& dispatcher,
                           PictureBox* box);

}  // namespace decor
