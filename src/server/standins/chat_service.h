#pragma once
// What the stand-in answers for the chat service: the online-status picture the windows show
// and the page the chat link opens.
#include <string_view>

namespace decor::server {

// A 77 x 22 PNG reading 在线咨询 (made with ImageMagick: a sea-green box, white WenQuanYi
// text, four colours).
std::string_view chatStatusPicture();

// A short UTF-8 HTML page in place of the chat service's own.
std::string_view chatPage();

}  // namespace decor::server
