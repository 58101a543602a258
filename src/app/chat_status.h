#pragma once
// The chat service's online-status picture, shown by the main, quotation and contact windows.
#include <memory>
#include <string>
#include <string_view>

#include "app/app_services.h"
#include "app/gui_dispatcher.h"

namespace decor {

class PictureBox;

// What a chat status box shows until a picture arrives, and when none does.
inline constexpr std::string_view kChatPlaceholder = "在线咨询";

// Makes `box` a window's way to the chat: the placeholder until a picture is shown, and a
// left press opens the chat page in the browser.
void setUpChatStatusBox(PictureBox& box, const AppServices& services);

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
